// A stand-in CPUID.dll whose answers a test scripts and which records every query in order.
//
// In the test's own process, FakeCpuidSetAnswers and FakeCpuidTakeCalls script and read it.
// In a program started by a test, two environment variables do: FAKE_CPUID_ANSWERS names a file
// of thirteen hexadecimal numbers (in FakeAnswer order), read again at every GetCPUID so that the
// answers can change between reports; FAKE_CPUID_LOG names a file to which every query appends
// its export name and a line end.
#pragma once

// The scripted answers. The first EnableSSE after a GetCPUID gets SSE_FIRST, every later one
// SSE_SECOND, so one report can see two different SSE answers.
enum FakeAnswer {
    FAKE_GET_CPUID,
    FAKE_MMX,
    FAKE_3DNOW,
    FAKE_3DNOW_EX,
    FAKE_MMX2,
    FAKE_SSE_FIRST,
    FAKE_SSE_SECOND,
    FAKE_SSE2,
    FAKE_SSE3,
    FAKE_SSSE3,
    FAKE_SSE41,
    FAKE_SSE42,
    FAKE_SSE4A,
    FAKE_ANSWER_COUNT
};

// The queries as they are recorded; the order is the report's order.
enum FakeQuery {
    QUERY_GET_CPUID,
    QUERY_MMX,
    QUERY_3DNOW,
    QUERY_3DNOW_EX,
    QUERY_MMX2,
    QUERY_SSE,
    QUERY_SSE2,
    QUERY_SSE3,
    QUERY_SSSE3,
    QUERY_SSE41,
    QUERY_SSE42,
    QUERY_SSE4A,
    QUERY_COUNT
};

#ifdef FAKE_CPUID_BUILD
#define FAKE_CPUID_API __declspec(dllexport)
#else
#define FAKE_CPUID_API __declspec(dllimport)
#endif

extern "C" {
FAKE_CPUID_API void __cdecl FakeCpuidSetAnswers(const unsigned int answers[FAKE_ANSWER_COUNT]);
// Copies the queries recorded since the last call (at most capacity) and forgets them; returns
// how many were recorded, which may exceed capacity.
FAKE_CPUID_API int __cdecl FakeCpuidTakeCalls(int *queries, int capacity);
}

// The export name of each query, as the log file spells it.
extern const char *const FAKE_QUERY_NAMES[QUERY_COUNT];
