// The processor feature report: the one line the main window paints, composed from the twelve
// queries of the processor feature library CPUID.dll.
#pragma once

#include <windows.h>

// The library's queries, imported by name at load time. Each takes no arguments; for the Enable
// queries any nonzero 32-bit answer means the extension is present.
extern "C" {
__declspec(dllimport) unsigned int __cdecl GetCPUID(void);
__declspec(dllimport) int __cdecl EnableMMX(void);
__declspec(dllimport) int __cdecl Enable3DNow(void);
__declspec(dllimport) int __cdecl Enable3DNowEx(void);
__declspec(dllimport) int __cdecl EnableMMX2(void);
__declspec(dllimport) int __cdecl EnableSSE(void);
__declspec(dllimport) int __cdecl EnableSSE2(void);
__declspec(dllimport) int __cdecl EnableSSE3(void);
__declspec(dllimport) int __cdecl EnableSSSE3(void);
__declspec(dllimport) int __cdecl EnableSSE41(void);
__declspec(dllimport) int __cdecl EnableSSE42(void);
__declspec(dllimport) int __cdecl EnableSSE4a(void);
}

// Code units of the buffer a caller hands to FormatFeatureReport; the longest line takes 78.
constexpr int REPORT_BUFFER_UNITS = 1024;

// Writes the report line into a zeroed buffer of REPORT_BUFFER_UNITS code units, asking the
// library afresh: "0x%08X ( " with the identification value, one token per extension present,
// then ")".
void FormatFeatureReport(LPWSTR report);
