// The processor feature report: the one line the main window paints, composed from the twelve
// queries of the processor feature library CPUID.dll.
#pragma once

#include <windows.h>

#include "cpuid_queries.h"

// Code units of the buffer a caller hands to FormatFeatureReport; the longest line takes 78.
constexpr int REPORT_BUFFER_UNITS = 1024;

// Writes the report line into a zeroed buffer of REPORT_BUFFER_UNITS code units, asking the
// library afresh: "0x%08X ( " with the identification value, one token per extension present,
// then ")".
void FormatFeatureReport(LPWSTR report);
