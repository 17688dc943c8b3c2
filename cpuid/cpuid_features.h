// Decoding of the processor's identification and instruction-set extensions from its CPUID
// leaves. The decoder sees the processor only through a leaf reader, so recorded leaves of any
// processor can stand in for the one it runs on.
#pragma once

#include <cstdint>

struct CpuidLeaf {
    std::uint32_t eax, ebx, ecx, edx;
};

// Answers one leaf (with ECX = 0); context is the reader's own data.
typedef CpuidLeaf (*CpuidLeafReader)(std::uint32_t leaf, const void *context);

struct ProcessorFeatures {
    std::uint32_t signature; // leaf 1 EAX; 0 when leaf 1 is not available
    bool mmx, amd3dnow, amd3dnowExt, mmxExt, sse, sse2, sse3, ssse3, sse41, sse42, sse4a;
};

// Reads leaf 0 and leaf 1 when leaf 0 reports it, and 0x80000001 only when 0x80000000 reports a
// maximum extended leaf in 0x80000001..0x8000FFFF. Never reads any other leaf.
ProcessorFeatures DecodeProcessorFeatures(CpuidLeafReader read, const void *context);
