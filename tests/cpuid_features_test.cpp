// The decoder against small hand-made processors, for what the recorded ones cannot show: which
// leaves it dares to read, and the rules no recording's source decides.
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "cpuid_features.h"

namespace {

struct FakeProcessor {
    std::map<std::uint32_t, CpuidLeaf> leaves;
    CpuidLeaf beyond; // what every leaf not listed answers: garbage, as on real chips
    mutable std::vector<std::uint32_t> read;
};

CpuidLeaf Read(std::uint32_t leaf, const void *context) {
    const FakeProcessor *processor = static_cast<const FakeProcessor *>(context);
    processor->read.push_back(leaf);
    auto found = processor->leaves.find(leaf);
    return found == processor->leaves.end() ? processor->beyond : found->second;
}

const CpuidLeaf GARBAGE = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
const std::uint32_t EDX_MMX = 1u << 23, EDX_SSE = 1u << 25, EDX_SSE2 = 1u << 26;
const std::uint32_t EXT_EDX_MMXEXT = 1u << 22, EXT_EDX_3DNOWEXT = 1u << 30,
                    EXT_EDX_3DNOW = 1u << 31;
const std::uint32_t EXT_ECX_SSE4A = 1u << 6;

TEST(CpuidFeatures, ReadsOnlyTheLeavesTheProcessorReports) {
    const struct {
        const char *name;
        std::uint32_t maxBasic, maxExtended;
        std::vector<std::uint32_t> expectedReads;
    } cases[] = {
        {"modern", 0xD, 0x80000008u, {0, 1, 0x80000000u, 0x80000001u}},
        {"no basic leaf beyond 0", 0, 0x80000008u, {0, 0x80000000u, 0x80000001u}},
        {"extended maximum is 0x80000000 itself", 2, 0x80000000u, {0, 1, 0x80000000u}},
        {"another leaf's data in 0x80000000", 2, 0x03020101u, {0, 1, 0x80000000u}},
        {"top of the extended range", 1, 0x8000FFFFu, {0, 1, 0x80000000u, 0x80000001u}},
        {"beyond the extended range", 1, 0x80010000u, {0, 1, 0x80000000u}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeProcessor processor;
        processor.beyond = GARBAGE;
        processor.leaves[0] = {c.maxBasic, 0, 0, 0};
        processor.leaves[0x80000000u] = {c.maxExtended, 0, 0, 0};
        if (c.maxBasic >= 1) processor.leaves[1] = {0x663, 0, 0, EDX_MMX};
        if (c.maxExtended >= 0x80000001u && c.maxExtended <= 0x8000FFFFu)
            processor.leaves[0x80000001u] = {0, 0, 0, EXT_EDX_3DNOW};
        ProcessorFeatures features = DecodeProcessorFeatures(Read, &processor);
        EXPECT_EQ(processor.read, c.expectedReads);
        // Nothing of the garbage beyond the reported leaves may show.
        EXPECT_EQ(features.signature, c.maxBasic >= 1 ? 0x663u : 0u);
        EXPECT_EQ(features.mmx, c.maxBasic >= 1);
        EXPECT_FALSE(features.sse || features.sse2 || features.sse3 || features.ssse3 ||
                     features.sse41 || features.sse42);
        EXPECT_EQ(features.amd3dnow,
                  c.expectedReads.size() == 4 || (c.maxBasic == 0 && c.expectedReads.size() == 3));
        EXPECT_FALSE(features.amd3dnowExt || features.sse4a || features.mmxExt);
    }
}

ProcessorFeatures Decode(std::uint32_t ecx1, std::uint32_t edx1, std::uint32_t ecx81,
                         std::uint32_t edx81) {
    FakeProcessor processor;
    processor.leaves[0] = {1, 0, 0, 0};
    processor.leaves[1] = {0x00B00F21u, 0, ecx1, edx1};
    processor.leaves[0x80000000u] = {0x80000001u, 0, 0, 0};
    processor.leaves[0x80000001u] = {0, 0, ecx81, edx81};
    return DecodeProcessorFeatures(Read, &processor);
}

TEST(CpuidFeatures, EachExtensionComesFromItsOwnBit) {
    const struct {
        const char *name;
        std::uint32_t ecx1, edx1, ecx81, edx81;
        bool ProcessorFeatures::*feature;
    } bits[] = {
        {"MMX", 0, EDX_MMX, 0, 0, &ProcessorFeatures::mmx},
        {"SSE", 0, EDX_SSE, 0, 0, &ProcessorFeatures::sse},
        {"SSE2", 0, EDX_SSE2, 0, 0, &ProcessorFeatures::sse2},
        {"SSE3", 1u << 0, 0, 0, 0, &ProcessorFeatures::sse3},
        {"SSSE3", 1u << 9, 0, 0, 0, &ProcessorFeatures::ssse3},
        {"SSE4.1", 1u << 19, 0, 0, 0, &ProcessorFeatures::sse41},
        {"SSE4.2", 1u << 20, 0, 0, 0, &ProcessorFeatures::sse42},
        {"3DNow", 0, 0, 0, EXT_EDX_3DNOW, &ProcessorFeatures::amd3dnow},
        {"3DNowEx", 0, 0, 0, EXT_EDX_3DNOWEXT, &ProcessorFeatures::amd3dnowExt},
        {"MMX extensions", 0, 0, 0, EXT_EDX_MMXEXT, &ProcessorFeatures::mmxExt},
        {"SSE4a", 0, 0, EXT_ECX_SSE4A, 0, &ProcessorFeatures::sse4a},
    };
    for (const auto &bit : bits) {
        SCOPED_TRACE(bit.name);
        ProcessorFeatures only = Decode(bit.ecx1, bit.edx1, bit.ecx81, bit.edx81);
        for (const auto &other : bits) {
            bool expected =
                other.feature == bit.feature || (bit.feature == &ProcessorFeatures::sse &&
                                                 other.feature == &ProcessorFeatures::mmxExt);
            EXPECT_EQ(only.*(other.feature), expected) << other.name;
        }
        EXPECT_EQ(only.signature, 0x00B00F21u);
    }
}

TEST(CpuidFeatures, SSEImpliesTheMMXExtensionsButNotTheReverse) {
    EXPECT_TRUE(Decode(0, EDX_MMX | EDX_SSE, 0, 0).mmxExt);  // an SSE chip without the AMD bit
    EXPECT_FALSE(Decode(0, EDX_MMX, 0, EXT_EDX_MMXEXT).sse); // a K7 without SSE
    EXPECT_TRUE(Decode(0, EDX_MMX, 0, EXT_EDX_MMXEXT).mmxExt);
    ProcessorFeatures k6 = Decode(0, EDX_MMX, 0, EXT_EDX_3DNOW | EXT_EDX_3DNOWEXT); // K6-III+
    EXPECT_TRUE(k6.amd3dnowExt);
    EXPECT_FALSE(k6.mmxExt);
}

} // namespace
