// The report line, composed in this process against the scripted CPUID.dll.
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_answers.h"
#include "feature_report.h"

namespace {

struct Report {
    std::wstring line;
    std::vector<int> calls;
};

Report ComposeWith(const Answers &answers) {
    FakeCpuidSetAnswers(answers.data());
    FakeCpuidTakeCalls(nullptr, 0);
    WCHAR buffer[REPORT_BUFFER_UNITS] = {};
    FormatFeatureReport(buffer);
    Report report;
    report.line = buffer;
    report.calls.resize(64);
    int count = FakeCpuidTakeCalls(report.calls.data(), static_cast<int>(report.calls.size()));
    report.calls.resize(count);
    return report;
}

std::string Narrow(const std::wstring &text) { return std::string(text.begin(), text.end()); }

std::vector<std::string> CallNames(const std::vector<int> &calls) {
    std::vector<std::string> names;
    for (int query : calls)
        names.push_back(FAKE_QUERY_NAMES[query]);
    return names;
}

struct LineCase {
    const char *name;
    Answers answers;
    const wchar_t *line;
};

TEST(FeatureReport, ComposesTheDocumentedLines) {
    const Answers none = AllAnswers(0, 0);
    const Answers all = AllAnswers(0xFFFFFFFFu, 1);
    const LineCase cases[] = {
        {"nothing present", none, L"0x00000000 ( )"},
        {"10 with MMX, SSE, SSE2",
         With(With(With(With(AllAnswers(10, 0), FAKE_MMX, 1), FAKE_SSE_FIRST, 1), FAKE_SSE_SECOND,
                   1),
              FAKE_SSE2, 1),
         L"0x0000000A ( MMX SSE SSE2 )"},
        {"all 32 bits of the value", AllAnswers(0xFFFFFFFFu, 0), L"0xFFFFFFFF ( )"},
        {"hex digits are upper case", AllAnswers(0x00ABCDEFu, 0), L"0x00ABCDEF ( )"},
        {"only the top bit counts as present", AllAnswers(0x80000000u, 0x80000000u),
         L"0x80000000 ( MMX 3DNow 3DNowEx SSE SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 SSE4a )"},
        {"512 counts as present", With(AllAnswers(0x663, 0), FAKE_SSE42, 512),
         L"0x00000663 ( SSE4.2 )"},
        {"a value with an empty low byte counts", With(AllAnswers(1, 0), FAKE_SSE4A, 0x100),
         L"0x00000001 ( SSE4a )"},
        {"SSE present hides MMX2", all,
         L"0xFFFFFFFF ( MMX 3DNow 3DNowEx SSE SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 SSE4a )"},
        {"SSE absent both times shows MMX2 in its place",
         With(With(all, FAKE_SSE_FIRST, 0), FAKE_SSE_SECOND, 0),
         L"0xFFFFFFFF ( MMX 3DNow 3DNowEx MMX2 SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 SSE4a )"},
        {"MMX2 alone", With(none, FAKE_MMX2, 1), L"0x00000000 ( MMX2 )"},
        {"first SSE absent, second present: both tokens", With(all, FAKE_SSE_FIRST, 0),
         L"0xFFFFFFFF ( MMX 3DNow 3DNowEx MMX2 SSE SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 SSE4a )"},
        {"first SSE present, second absent: neither token", With(all, FAKE_SSE_SECOND, 0),
         L"0xFFFFFFFF ( MMX 3DNow 3DNowEx SSE2 SSE3 SSSE3 SSE4.1 SSE4.2 SSE4a )"},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Narrow(ComposeWith(c.answers).line), Narrow(c.line));
    }
}

TEST(FeatureReport, LongestLinesHaveTheirDocumentedLengths) {
    const Answers all = AllAnswers(0xFFFFFFFFu, 1);
    EXPECT_EQ(ComposeWith(all).line.size(), 72u);
    EXPECT_EQ(ComposeWith(With(With(all, FAKE_SSE_FIRST, 0), FAKE_SSE_SECOND, 0)).line.size(), 73u);
    EXPECT_EQ(ComposeWith(With(all, FAKE_SSE_FIRST, 0)).line.size(), 77u);
}

TEST(FeatureReport, AsksForMMX2OnlyWhenTheFirstSSEAnswerIsAbsent) {
    const Answers all = AllAnswers(1, 1);
    const std::vector<int> withoutMMX2 = {QUERY_GET_CPUID, QUERY_MMX,   QUERY_3DNOW, QUERY_3DNOW_EX,
                                          QUERY_SSE,       QUERY_SSE,   QUERY_SSE2,  QUERY_SSE3,
                                          QUERY_SSSE3,     QUERY_SSE41, QUERY_SSE42, QUERY_SSE4A};
    std::vector<int> withMMX2 = withoutMMX2;
    withMMX2.insert(withMMX2.begin() + 5, QUERY_MMX2);

    EXPECT_EQ(CallNames(ComposeWith(all).calls), CallNames(withoutMMX2));
    EXPECT_EQ(CallNames(ComposeWith(With(all, FAKE_SSE_SECOND, 0)).calls), CallNames(withoutMMX2));
    EXPECT_EQ(CallNames(ComposeWith(With(all, FAKE_SSE_FIRST, 0)).calls), CallNames(withMMX2));
    EXPECT_EQ(CallNames(ComposeWith(AllAnswers(0, 0)).calls), CallNames(withMMX2));
}

TEST(FeatureReport, EveryReportAsksTheLibraryAfresh) {
    EXPECT_EQ(Narrow(ComposeWith(With(AllAnswers(0x663, 0), FAKE_MMX, 1)).line),
              "0x00000663 ( MMX )");
    Report second = ComposeWith(With(AllAnswers(0x664, 0), FAKE_SSE3, 1));
    EXPECT_EQ(Narrow(second.line), "0x00000664 ( SSE3 )");
    EXPECT_EQ(second.calls.size(), 13u);
}

TEST(FeatureReport, MatchesTheReferenceForAHundredThousandRandomAnswerVectors) {
    const unsigned int seed = 20261211;
    std::printf("seed %u\n", seed);
    std::mt19937 random(seed);
    const unsigned int notable[] = {0, 1, 512, 0x80000000u, 0xFFFFFFFFu};
    auto pick = [&]() {
        unsigned int choice = random() % 7;
        return choice < 5 ? notable[choice]
                          : (choice == 5 ? 0u : static_cast<unsigned int>(random()));
    };
    const int vectors = 100000;
    for (int i = 0; i < vectors; ++i) {
        Answers answers(FAKE_ANSWER_COUNT);
        for (unsigned int &answer : answers)
            answer = pick();
        Report actual = ComposeWith(answers);
        ASSERT_EQ(Narrow(actual.line), Narrow(ExpectedLine(answers))) << "vector " << i;
        ASSERT_EQ(CallNames(actual.calls), ExpectedQueries(answers)) << "vector " << i;
        ASSERT_LE(actual.line.size(), 77u);
    }
    std::printf("%d random answer vectors checked\n", vectors);
}

} // namespace
