// Decodes the recorded CPUID leaves of real processors and compares every answer with what the
// recording's source says. Usage: cpuid_dump_test PROCESSORS.tsv
// Prints each mismatch (processor, query, our answer, the source's) and exits nonzero on any.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "cpuid_features.h"
#include "test_support.h"

namespace {

std::vector<std::string> SplitTabs(const std::string &line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else if (c != '\r' && c != '\n')
            fields.back() += c;
    }
    return fields;
}

struct RecordedLeaves {
    std::map<std::uint32_t, CpuidLeaf> leaves;
    std::vector<std::uint32_t> read;
};

// Leaves the recording lacks read as zeros, like a processor's reserved leaves.
CpuidLeaf ReadRecorded(std::uint32_t leaf, const void *context) {
    RecordedLeaves *recorded =
        const_cast<RecordedLeaves *>(static_cast<const RecordedLeaves *>(context));
    recorded->read.push_back(leaf);
    auto found = recorded->leaves.find(leaf);
    return found == recorded->leaves.end() ? CpuidLeaf{0, 0, 0, 0} : found->second;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cpuid_dump_test PROCESSORS.tsv\n");
        return 2;
    }
    FILE *file = _wfopen(ToWindowsPath(argv[1]).c_str(), L"r");
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }

    const char *const features[] = {"MMX",  "3DNow", "3DNowEx", "MMX2",  "SSE",  "SSE2",
                                    "SSE3", "SSSE3", "SSE41",   "SSE42", "SSE4a"};
    std::map<std::string, size_t> column;
    int processors = 0, compared = 0, untold = 0, mismatches = 0;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = buffer;
        if (line.empty() || line[0] == '#' || line == "\n") continue;
        std::vector<std::string> fields = SplitTabs(line);
        if (column.empty()) {
            for (size_t i = 0; i < fields.size(); ++i)
                column[fields[i]] = i;
            continue;
        }
        auto field = [&](const std::string &name) {
            auto found = column.find(name);
            return found != column.end() && found->second < fields.size() ? fields[found->second]
                                                                          : std::string();
        };
        auto hex = [&](const std::string &name) {
            return static_cast<std::uint32_t>(std::strtoul(field(name).c_str(), nullptr, 16));
        };

        RecordedLeaves recorded;
        for (const char *leaf : {"0", "1", "80000000", "80000001"}) {
            std::string prefix = std::string("l") + leaf + "_";
            recorded.leaves[static_cast<std::uint32_t>(std::strtoul(leaf, nullptr, 16))] = {
                hex(prefix + "eax"), hex(prefix + "ebx"), hex(prefix + "ecx"), hex(prefix + "edx")};
        }
        ProcessorFeatures decoded = DecodeProcessorFeatures(ReadRecorded, &recorded);
        ++processors;
        const std::string name = field("name");

        for (std::uint32_t leaf : recorded.read)
            if (leaf != 0 && leaf != 1 && leaf != 0x80000000u && leaf != 0x80000001u) {
                std::printf("MISMATCH %s: read leaf %08lX, which the decoder has no use for\n",
                            name.c_str(), static_cast<unsigned long>(leaf));
                ++mismatches;
            }
        if (decoded.signature != hex("signature")) {
            std::printf("MISMATCH %s GetCPUID: answered %08lX, the source says %s\n", name.c_str(),
                        static_cast<unsigned long>(decoded.signature), field("signature").c_str());
            ++mismatches;
        }
        const bool answers[] = {decoded.mmx,    decoded.amd3dnow, decoded.amd3dnowExt,
                                decoded.mmxExt, decoded.sse,      decoded.sse2,
                                decoded.sse3,   decoded.ssse3,    decoded.sse41,
                                decoded.sse42,  decoded.sse4a};
        for (size_t i = 0; i < sizeof features / sizeof *features; ++i) {
            const std::string told = field(features[i]);
            if (told == "-") {
                ++untold;
                continue;
            }
            ++compared;
            if ((told == "1") != answers[i] || (told != "0" && told != "1")) {
                std::printf("MISMATCH %s Enable%s: answered %d, the source says %s\n", name.c_str(),
                            features[i], answers[i] ? 1 : 0, told.c_str());
                ++mismatches;
            }
        }
    }
    std::fclose(file);
    std::printf(
        "%d processors, %d feature answers compared, %d not told by the source, %d mismatches\n",
        processors, compared, untold, mismatches);
    return processors > 0 && mismatches == 0 ? 0 : 1;
}
