// Our CPUID.dll on the machine the tests run on, against the Linux kernel's view of the
// processor (/proc/cpuinfo) and the platform's IsProcessorFeaturePresent.
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_answers.h"
#include "feature_report.h"

namespace {

struct KernelView {
    std::map<std::string, std::string> fields; // of the first processor
    std::set<std::string> flags;
};

const KernelView &Kernel() {
    static KernelView view;
    if (!view.fields.empty()) return view;
    FILE *file = _wfopen(L"Z:\\proc\\cpuinfo", L"r");
    if (!file) return view;
    char buffer[8192];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = buffer;
        if (line == "\n") break; // the end of the first processor
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of("\r\n") + 1);
        view.fields[key] = value;
    }
    std::fclose(file);
    std::istringstream flags(view.fields["flags"]);
    for (std::string flag; flags >> flag;)
        view.flags.insert(flag);
    return view;
}

bool KernelHas(const char *flag) { return Kernel().flags.count(flag) != 0; }

// The signature composed from the kernel's family, model and stepping, the extended fields
// carrying what the base fields cannot hold.
unsigned int KernelSignature() {
    const unsigned int family = std::stoul(Kernel().fields.at("cpu family"));
    const unsigned int model = std::stoul(Kernel().fields.at("model"));
    const unsigned int stepping = std::stoul(Kernel().fields.at("stepping"));
    const unsigned int baseFamily = family < 15 ? family : 15;
    return (family - baseFamily) << 20 | (model >> 4) << 16 | baseFamily << 8 | (model & 15) << 4 |
           stepping;
}

// What this processor's report must say, by the kernel: the answers a library telling the
// truth would give, turned into a line by the tests' one reference.
Answers KernelAnswers() {
    Answers answers(FAKE_ANSWER_COUNT, 0);
    answers[FAKE_GET_CPUID] = KernelSignature();
    answers[FAKE_MMX] = KernelHas("mmx");
    answers[FAKE_3DNOW] = KernelHas("3dnow");
    answers[FAKE_3DNOW_EX] = KernelHas("3dnowext");
    // The kernel names the MMX extensions only where the AMD bit says so; an SSE processor has
    // them too.
    answers[FAKE_MMX2] = KernelHas("mmxext") || KernelHas("sse");
    answers[FAKE_SSE_FIRST] = answers[FAKE_SSE_SECOND] = KernelHas("sse");
    answers[FAKE_SSE2] = KernelHas("sse2");
    answers[FAKE_SSE3] = KernelHas("pni");
    answers[FAKE_SSSE3] = KernelHas("ssse3");
    answers[FAKE_SSE41] = KernelHas("sse4_1");
    answers[FAKE_SSE42] = KernelHas("sse4_2");
    answers[FAKE_SSE4A] = KernelHas("sse4a");
    return answers;
}

struct Query {
    const char *name;
    int (*query)(void);
    FakeAnswer expected; // its answer among KernelAnswers()
    DWORD platformFeature;
};

std::vector<Query> Queries() {
    return {
        {"EnableMMX", EnableMMX, FAKE_MMX, PF_MMX_INSTRUCTIONS_AVAILABLE},
        {"Enable3DNow", Enable3DNow, FAKE_3DNOW, PF_3DNOW_INSTRUCTIONS_AVAILABLE},
        {"Enable3DNowEx", Enable3DNowEx, FAKE_3DNOW_EX, 0},
        {"EnableMMX2", EnableMMX2, FAKE_MMX2, 0},
        {"EnableSSE", EnableSSE, FAKE_SSE_FIRST, PF_XMMI_INSTRUCTIONS_AVAILABLE},
        {"EnableSSE2", EnableSSE2, FAKE_SSE2, PF_XMMI64_INSTRUCTIONS_AVAILABLE},
        {"EnableSSE3", EnableSSE3, FAKE_SSE3, PF_SSE3_INSTRUCTIONS_AVAILABLE},
        {"EnableSSSE3", EnableSSSE3, FAKE_SSSE3, 0},
        {"EnableSSE41", EnableSSE41, FAKE_SSE41, 0},
        {"EnableSSE42", EnableSSE42, FAKE_SSE42, 0},
        {"EnableSSE4a", EnableSSE4a, FAKE_SSE4A, 0},
    };
}

TEST(LiveProcessor, SignatureIsTheKernelsFamilyModelAndStepping) {
    ASSERT_FALSE(Kernel().fields.empty()) << "no /proc/cpuinfo";
    const unsigned int signature = GetCPUID();
    std::printf("GetCPUID: 0x%08X; kernel: %s family %s model %s stepping %s\n", signature,
                Kernel().fields.at("vendor_id").c_str(), Kernel().fields.at("cpu family").c_str(),
                Kernel().fields.at("model").c_str(), Kernel().fields.at("stepping").c_str());
    unsigned int family = (signature >> 8) & 0xF, model = (signature >> 4) & 0xF;
    if (family == 0xF) family += (signature >> 20) & 0xFF;
    if (family >= 6) model += ((signature >> 16) & 0xF) << 4;
    EXPECT_EQ(std::to_string(family), Kernel().fields.at("cpu family"));
    EXPECT_EQ(std::to_string(model), Kernel().fields.at("model"));
    EXPECT_EQ(std::to_string(signature & 0xF), Kernel().fields.at("stepping"));
}

TEST(LiveProcessor, ExtensionsAgreeWithTheKernelAndThePlatform) {
    ASSERT_FALSE(Kernel().flags.empty()) << "no flags in /proc/cpuinfo";
    const Answers expected = KernelAnswers();
    for (const Query &q : Queries()) {
        const int answer = q.query();
        std::printf("%-14s %d\n", q.name, answer);
        EXPECT_TRUE(answer == 0 || answer == 1) << q.name << " answered " << answer;
        EXPECT_EQ(answer != 0, expected[q.expected] != 0) << q.name << " against /proc/cpuinfo";
        if (q.platformFeature) {
            EXPECT_EQ(answer != 0, IsProcessorFeaturePresent(q.platformFeature) != 0)
                << q.name << " against IsProcessorFeaturePresent";
        }
    }
}

TEST(LiveProcessor, ReportLineNamesThisProcessor) {
    ASSERT_FALSE(Kernel().flags.empty()) << "no flags in /proc/cpuinfo";
    WCHAR line[REPORT_BUFFER_UNITS] = {};
    FormatFeatureReport(line);
    std::printf("%ls\n", line);
    EXPECT_EQ(std::wstring(line), ExpectedLine(KernelAnswers()));
}

} // namespace
