// Start-up abuse, with our own CPUID.dll: whatever the command line, the environment or the show
// command, the program opens the same window, paints the same line and ends with 0.
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "feature_report.h"
#include "gui_expectations.h"
#include "program_driver.h"

namespace {

std::wstring ThisProcessorsLine() {
    WCHAR line[REPORT_BUFFER_UNITS] = {};
    FormatFeatureReport(line);
    return line;
}

// 30,000 characters: quotes (balanced and not), blanks, Japanese text, a surrogate pair, and
// every control character but the terminator.
std::wstring HostileArguments() {
    std::wstring text;
    const std::wstring pieces[] = {L"\"quoted words\" ", L"\"unbalanced ", L"\\\\\"",
                                   L"日本語のテキスト ", L"\xD83D\xDE00 ", L"-x /y --z=\"a b\" ",
                                   L"%PATH% ^& | < > "};
    for (int i = 0; text.size() < 30000; ++i) {
        text += pieces[i % 7];
        text += static_cast<wchar_t>(1 + i % 31);
    }
    text.resize(30000);
    return text;
}

void ExpectTheUsualWindow(ProgramRun &run, const std::wstring &line, bool painted) {
    WCHAR text[100];
    GetClassNameW(run.window, text, 100);
    EXPECT_STREQ(text, L"KALVORA");
    GetWindowTextW(run.window, text, 100);
    EXPECT_STREQ(text, L"Kalvora");
    if (painted) {
        ASSERT_NO_FATAL_FAILURE(ExpectPaintedLine(run.window, line));
    }
    PostMessageW(run.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(StartUp, IgnoresAHostileCommandLine) {
    const std::wstring arguments = HostileArguments();
    std::printf("command line: %u characters after the program's name\n",
                static_cast<unsigned>(arguments.size()));
    ProgramRun run;
    ASSERT_TRUE(run.StartWith({}, -1, false, arguments, false));
    ASSERT_NO_FATAL_FAILURE(ExpectTheUsualWindow(run, ThisProcessorsLine(), true));
}

TEST(StartUp, RunsWithAnEmptyEnvironment) {
    ProgramRun run;
    ASSERT_TRUE(run.StartWith({}, -1, false, L"", true));
    ASSERT_NO_FATAL_FAILURE(ExpectTheUsualWindow(run, ThisProcessorsLine(), true));
}

TEST(StartUp, TakesEveryShowCommand) {
    for (int show = SW_HIDE; show <= SW_FORCEMINIMIZE; ++show) {
        SCOPED_TRACE(show);
        ProgramRun run;
        ASSERT_TRUE(run.StartWith({}, show, false, L"", false));
        const bool hidden = show == SW_HIDE;
        const bool minimized = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
                               show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
        if (hidden) {
            EXPECT_FALSE(IsWindowVisible(run.window));
        } else {
            EXPECT_TRUE(WaitFor([&] {
                return IsWindowVisible(run.window) && IsIconic(run.window) == minimized;
            })) << "visible "
                << IsWindowVisible(run.window) << ", minimized " << IsIconic(run.window);
        }
        ASSERT_NO_FATAL_FAILURE(ExpectTheUsualWindow(run, ThisProcessorsLine(), !hidden && !minimized));
    }
}

} // namespace
