#include "gui_expectations.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const std::vector<std::string> &queries) {
    std::string text;
    for (const std::string &query : queries)
        text += query + " ";
    return text;
}

} // namespace

const Answers TYPICAL = With(
    With(With(With(AllAnswers(0x000106A5, 0), FAKE_MMX, 1), FAKE_SSE_FIRST, 1), FAKE_SSE_SECOND, 1),
    FAKE_SSE2, 1);

void ExpectWellFormedReports(const ProgramRun &run, const Answers &answers, size_t from) {
    const auto reports = run.Reports();
    for (size_t i = from; i < reports.size(); ++i)
        EXPECT_EQ(Joined(reports[i]), Joined(ExpectedQueries(answers))) << "report " << i;
}

void ExpectPaintedLine(HWND window, const std::wstring &line, int fromRow) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right < 700 ? client.right : 700;
    const int height = client.bottom < 60 ? client.bottom : 60;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    const std::vector<unsigned int> expected = RenderLine(line, width, height);
    std::vector<unsigned int> actual;
    int differing = 0;
    size_t first = 0;
    // The last paint may still be reaching the screen.
    WaitFor(
        [&] {
            actual = CaptureClient(window, width, height);
            differing = 0;
            for (size_t i = actual.size(); i-- > static_cast<size_t>(fromRow) * width;)
                if (actual[i] != expected[i]) {
                    ++differing;
                    first = i;
                }
            return differing == 0;
        },
        5000);
    EXPECT_EQ(differing, 0) << "pixels differing from the line drawn in the default font, of "
                            << actual.size() << "; the first at " << first % width << ", "
                            << first / width << ": " << std::hex << actual[first] << " where "
                            << expected[first] << " belongs";
}
