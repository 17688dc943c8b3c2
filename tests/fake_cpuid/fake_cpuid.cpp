#include <windows.h>
#include <cstdio>

#include "cpuid_queries.h"
#include "fake_cpuid.h"

namespace {

const int CALL_CAPACITY = 1 << 16;

unsigned int g_answers[FAKE_ANSWER_COUNT];
bool g_sseAskedSinceGetCpuid;
int g_calls[CALL_CAPACITY];
int g_callCount;

void LoadAnswersFromEnvironment() {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("FAKE_CPUID_ANSWERS", path, MAX_PATH)) return;
    FILE *file = std::fopen(path, "r");
    if (!file) return;
    for (unsigned int &answer : g_answers)
        if (std::fscanf(file, "%x", &answer) != 1) answer = 0;
    std::fclose(file);
}

void AppendToLogFile(FakeQuery query) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("FAKE_CPUID_LOG", path, MAX_PATH)) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char line[32];
    int length = std::snprintf(line, sizeof line, "%s\n", FAKE_QUERY_NAMES[query]);
    DWORD written;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

unsigned int Record(FakeQuery query, FakeAnswer answer) {
    if (g_callCount < CALL_CAPACITY) g_calls[g_callCount] = query;
    ++g_callCount;
    AppendToLogFile(query);
    return g_answers[answer];
}

} // namespace

extern "C" {

void __cdecl FakeCpuidSetAnswers(const unsigned int answers[FAKE_ANSWER_COUNT]) {
    for (int i = 0; i < FAKE_ANSWER_COUNT; ++i)
        g_answers[i] = answers[i];
}

int __cdecl FakeCpuidTakeCalls(int *queries, int capacity) {
    int count = g_callCount;
    for (int i = 0; i < count && i < capacity && i < CALL_CAPACITY; ++i)
        queries[i] = g_calls[i];
    g_callCount = 0;
    return count;
}

unsigned int __cdecl GetCPUID(void) {
    LoadAnswersFromEnvironment();
    g_sseAskedSinceGetCpuid = false;
    return Record(QUERY_GET_CPUID, FAKE_GET_CPUID);
}
int __cdecl EnableMMX(void) { return Record(QUERY_MMX, FAKE_MMX); }
int __cdecl Enable3DNow(void) { return Record(QUERY_3DNOW, FAKE_3DNOW); }
int __cdecl Enable3DNowEx(void) { return Record(QUERY_3DNOW_EX, FAKE_3DNOW_EX); }
int __cdecl EnableMMX2(void) { return Record(QUERY_MMX2, FAKE_MMX2); }
int __cdecl EnableSSE(void) {
    FakeAnswer answer = g_sseAskedSinceGetCpuid ? FAKE_SSE_SECOND : FAKE_SSE_FIRST;
    g_sseAskedSinceGetCpuid = true;
    return Record(QUERY_SSE, answer);
}
int __cdecl EnableSSE2(void) { return Record(QUERY_SSE2, FAKE_SSE2); }
int __cdecl EnableSSE3(void) { return Record(QUERY_SSE3, FAKE_SSE3); }
int __cdecl EnableSSSE3(void) { return Record(QUERY_SSSE3, FAKE_SSSE3); }
int __cdecl EnableSSE41(void) { return Record(QUERY_SSE41, FAKE_SSE41); }
int __cdecl EnableSSE42(void) { return Record(QUERY_SSE42, FAKE_SSE42); }
int __cdecl EnableSSE4a(void) { return Record(QUERY_SSE4A, FAKE_SSE4A); }
}
