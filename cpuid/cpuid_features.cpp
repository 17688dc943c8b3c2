#include "cpuid_features.h"

namespace {

const std::uint32_t EXTENDED_BASE = 0x80000000u;
const std::uint32_t EXTENDED_FEATURES = 0x80000001u;

bool Bit(std::uint32_t value, int bit) { return (value >> bit) & 1u; }

// Processors without extended leaves answer 0x80000000 with another leaf's data or with garbage;
// only a value in the extended range is a maximum.
bool HasExtendedFeatureLeaf(std::uint32_t maxExtended) {
    return maxExtended >= EXTENDED_FEATURES && maxExtended <= 0x8000FFFFu;
}

} // namespace

ProcessorFeatures DecodeProcessorFeatures(CpuidLeafReader read, const void *context) {
    ProcessorFeatures features = {};
    CpuidLeaf basic = {};
    if (read(0, context).eax >= 1) {
        basic = read(1, context);
        features.signature = basic.eax;
    }
    CpuidLeaf extended = {};
    if (HasExtendedFeatureLeaf(read(EXTENDED_BASE, context).eax))
        extended = read(EXTENDED_FEATURES, context);

    features.mmx = Bit(basic.edx, 23);
    features.sse = Bit(basic.edx, 25);
    features.sse2 = Bit(basic.edx, 26);
    features.sse3 = Bit(basic.ecx, 0);
    features.ssse3 = Bit(basic.ecx, 9);
    features.sse41 = Bit(basic.ecx, 19);
    features.sse42 = Bit(basic.ecx, 20);
    // The extended bits mean the same on every vendor that sets them (3DNow also exists on
    // non-AMD chips), so they are decoded without looking at the vendor.
    features.amd3dnow = Bit(extended.edx, 31);
    features.amd3dnowExt = Bit(extended.edx, 30);
    features.sse4a = Bit(extended.ecx, 6);
    // SSE includes the MMX integer extensions, so an SSE processor has them whatever its
    // extended leaf says.
    features.mmxExt = Bit(extended.edx, 22) || features.sse;
    return features;
}
