#include "fake_cpuid.h"

const char *const FAKE_QUERY_NAMES[QUERY_COUNT] = {
    "GetCPUID",   "EnableMMX",  "Enable3DNow", "Enable3DNowEx", "EnableMMX2",  "EnableSSE",
    "EnableSSE2", "EnableSSE3", "EnableSSSE3", "EnableSSE41",   "EnableSSE42", "EnableSSE4a",
};
