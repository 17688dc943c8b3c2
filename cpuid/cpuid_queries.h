// The twelve queries CPUID.dll exports, declared once for the program that imports them, our
// library that defines them and the tests' scripted stand-in, so that a definition that differs
// from this declaration does not compile. Each takes no arguments and returns a 32-bit integer:
// GetCPUID the processor's identification value, an Enable query nonzero when the extension is
// present. The exports are undecorated, by name (see CPUID.def).
#pragma once

// Defined by the builds of a CPUID.dll; everything else imports the queries at load time.
#ifdef CPUID_DLL_BUILD
#define CPUID_QUERY extern "C"
#else
#define CPUID_QUERY extern "C" __declspec(dllimport)
#endif

CPUID_QUERY unsigned int __cdecl GetCPUID(void);
CPUID_QUERY int __cdecl EnableMMX(void);
CPUID_QUERY int __cdecl Enable3DNow(void);
CPUID_QUERY int __cdecl Enable3DNowEx(void);
CPUID_QUERY int __cdecl EnableMMX2(void);
CPUID_QUERY int __cdecl EnableSSE(void);
CPUID_QUERY int __cdecl EnableSSE2(void);
CPUID_QUERY int __cdecl EnableSSE3(void);
CPUID_QUERY int __cdecl EnableSSSE3(void);
CPUID_QUERY int __cdecl EnableSSE41(void);
CPUID_QUERY int __cdecl EnableSSE42(void);
CPUID_QUERY int __cdecl EnableSSE4a(void);
