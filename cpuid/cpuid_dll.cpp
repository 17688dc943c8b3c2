// The library's exports: the processor is decoded once when the library is loaded, and every
// query answers from that decoding (the answers cannot change while the process runs, and one
// CPUID instruction costs far more than a memory read under a hypervisor).
#include <windows.h>
#include <cpuid.h>

#include "cpuid_features.h"
#include "cpuid_queries.h"

namespace {

ProcessorFeatures g_features;

// A processor without CPUID cannot toggle the ID bit (21) of EFLAGS.
bool HasCpuidInstruction() {
    std::uint32_t original, toggled;
    __asm__ volatile("pushfl\n\t"
                     "popl %0\n\t"
                     "movl %0, %1\n\t"
                     "xorl $0x200000, %1\n\t"
                     "pushl %1\n\t"
                     "popfl\n\t"
                     "pushfl\n\t"
                     "popl %1\n\t"
                     "pushl %0\n\t"
                     "popfl"
                     : "=&r"(original), "=&r"(toggled)
                     :
                     : "cc");
    return ((original ^ toggled) & 0x200000u) != 0;
}

// Some old processors leave ECX as the caller had it, so the subleaf is always set to 0.
CpuidLeaf ExecuteCpuid(std::uint32_t leaf, const void *) {
    CpuidLeaf result;
    __cpuid_count(leaf, 0, result.eax, result.ebx, result.ecx, result.edx);
    return result;
}

int Answer(bool present) { return present ? 1 : 0; }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH && HasCpuidInstruction())
        g_features = DecodeProcessorFeatures(ExecuteCpuid, nullptr);
    return TRUE;
}

unsigned int __cdecl GetCPUID(void) { return g_features.signature; }
int __cdecl EnableMMX(void) { return Answer(g_features.mmx); }
int __cdecl Enable3DNow(void) { return Answer(g_features.amd3dnow); }
int __cdecl Enable3DNowEx(void) { return Answer(g_features.amd3dnowExt); }
int __cdecl EnableMMX2(void) { return Answer(g_features.mmxExt); }
int __cdecl EnableSSE(void) { return Answer(g_features.sse); }
int __cdecl EnableSSE2(void) { return Answer(g_features.sse2); }
int __cdecl EnableSSE3(void) { return Answer(g_features.sse3); }
int __cdecl EnableSSSE3(void) { return Answer(g_features.ssse3); }
int __cdecl EnableSSE41(void) { return Answer(g_features.sse41); }
int __cdecl EnableSSE42(void) { return Answer(g_features.sse42); }
int __cdecl EnableSSE4a(void) { return Answer(g_features.sse4a); }
