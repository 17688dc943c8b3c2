// The real program under Wine, beside the scripted CPUID.dll, driven with real input.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_cpuid.h"
#include "gui_expectations.h"
#include "program_driver.h"

namespace {

struct PaintCase {
    const char *name;
    Answers answers;
};

TEST(Shell, PaintsTheReportLineForEachAnswerSet) {
    const Answers all = AllAnswers(0xFFFFFFFFu, 1);
    const PaintCase cases[] = {
        {"typical", TYPICAL},
        {"nothing", AllAnswers(0, 0)},
        {"everything, value with all bits set", all},
        {"MMX2 in the place of SSE", With(With(all, FAKE_SSE_FIRST, 0), FAKE_SSE_SECOND, 0)},
        {"first SSE absent, second present: the 77-unit line", With(all, FAKE_SSE_FIRST, 0)},
    };
    for (const PaintCase &c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run;
        ASSERT_TRUE(run.Start(c.answers));
        ExpectWellFormedReports(run, c.answers);
        ASSERT_NO_FATAL_FAILURE(ExpectPaintedLine(run.window, ExpectedLine(c.answers)));
        PostMessageW(run.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
}

TEST(Shell, MainWindowHasItsClassTitleStyleAndMenu) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    WCHAR text[100];
    GetClassNameW(run.window, text, 100);
    EXPECT_STREQ(text, L"KALVORA");
    GetWindowTextW(run.window, text, 100);
    EXPECT_STREQ(text, L"Kalvora");
    EXPECT_TRUE(IsWindowVisible(run.window));
    EXPECT_EQ(GetWindowLongW(run.window, GWL_STYLE) & 0x00FF0000, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongW(run.window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0);
    EXPECT_EQ(GetClassLongW(run.window, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(GetClassLongW(run.window, GCL_CBCLSEXTRA), 0u);
    EXPECT_EQ(GetClassLongW(run.window, GCL_CBWNDEXTRA), 0u);
    EXPECT_NE(GetMenu(run.window), nullptr) << "no menu bar";
    EXPECT_EQ(GetParent(run.window), nullptr);
    ExpectWellFormedReports(run, TYPICAL);
}

TEST(Shell, EveryPaintAsksTheLibraryAfresh) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    const int paints = 5;
    for (int i = 1; i <= paints; ++i) {
        const size_t before = run.ReportCount();
        RedrawWindow(run.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ASSERT_TRUE(run.WaitForReports(before + 1)) << "paint " << i;
    }
    ExpectWellFormedReports(run, TYPICAL);

    // A changed answer shows at the next repaint.
    const Answers changed = With(With(TYPICAL, FAKE_GET_CPUID, 0x00B00F21), FAKE_SSE42, 512);
    run.SetAnswers(changed);
    const size_t before = run.ReportCount();
    InvalidateRect(run.window, nullptr, TRUE);
    ASSERT_TRUE(run.WaitForReports(before + 1));
    ExpectWellFormedReports(run, changed, before);
    ASSERT_NO_FATAL_FAILURE(ExpectPaintedLine(run.window, ExpectedLine(changed)));
}

TEST(Shell, ResizingRepaintsTheWholeLine) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    const int sizes[][2] = {{300, 200}, {640, 240}, {420, 160}, {700, 300}};
    for (const auto &size : sizes) {
        const size_t before = run.ReportCount();
        SetWindowPos(run.window, nullptr, 0, 0, size[0], size[1], SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_TRUE(run.WaitForReports(before + 1)) << size[0] << "x" << size[1];
        ASSERT_NO_FATAL_FAILURE(ExpectPaintedLine(run.window, ExpectedLine(TYPICAL)));
    }
    ExpectWellFormedReports(run, TYPICAL);
}

// The version dialog of the program, once it is open and owned by the main window.
HWND WaitForVersionDialog(const ProgramRun &run) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = run.FindDialog()) != nullptr && IsWindowVisible(dialog); });
    return dialog;
}

bool WaitForDialogClosed(const ProgramRun &run) {
    return WaitFor([&] { return run.FindDialog() == nullptr && IsWindowEnabled(run.window); });
}

struct OpenCase {
    const char *how;
    std::vector<WORD> held;
    WORD key;
};

struct CloseCase {
    const char *how;
    int action; // 0 Enter, 1 click OK, 2 Esc, 3 click the close box
};

void CloseDialog(HWND dialog, int action) {
    ASSERT_TRUE(BringToFront(dialog));
    POINT point;
    RECT button;
    switch (action) {
    case 0:
        Type(VK_RETURN);
        break;
    case 1:
        GetWindowRect(GetDlgItem(dialog, IDOK), &button);
        ClickAt({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
        break;
    case 2:
        Type(VK_ESCAPE);
        break;
    case 3:
        ASSERT_TRUE(FindFramePart(dialog, HTCLOSE, &point)) << "no close box";
        ClickAt(point);
        break;
    }
}

TEST(Shell, VersionDialogOpensByAcceleratorsAndMenuAndClosesEachWay) {
    const WORD questionKey = LOBYTE(VkKeyScanW(L'?')), slashKey = LOBYTE(VkKeyScanW(L'/'));
    const bool questionNeedsShift = HIBYTE(VkKeyScanW(L'?')) & 1;
    std::vector<WORD> altQuestion = {VK_MENU};
    if (questionNeedsShift) altQuestion.push_back(VK_SHIFT);
    const OpenCase opens[] = {
        {"Alt+?", altQuestion, questionKey},
        {"Alt+/", {VK_MENU}, slashKey},
        {"Alt+H, A", {VK_MENU}, 'H'},
        {"Alt+?", altQuestion, questionKey},
    };
    const CloseCase closes[] = {{"Enter", 0}, {"OK button", 1}, {"Esc", 2}, {"close box", 3}};

    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(std::string("opened by ") + opens[i].how + ", closed by " + closes[i].how);
        ASSERT_TRUE(BringToFront(run.window));
        PressKeys(opens[i].held, opens[i].key);
        if (opens[i].key == 'H') {
            // The Help menu drops down; A picks its item.
            ASSERT_TRUE(WaitFor([&] { return run.MenuOpen(); })) << "the Help menu did not open";
            Type('A');
        }
        HWND dialog = WaitForVersionDialog(run);
        ASSERT_NE(dialog, nullptr) << "no dialog";
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), run.window);
        EXPECT_FALSE(IsWindowEnabled(run.window))
            << "the main window accepts input under a modal dialog";

        // Its client area sits 22, 17 dialog units from the owner's client origin.
        const POINT offset = VersionDialogUnitsToPixels(22, 17);
        POINT owner = {0, 0}, placed = {0, 0};
        ClientToScreen(run.window, &owner);
        ClientToScreen(dialog, &placed);
        EXPECT_EQ(placed.x, owner.x + offset.x);
        EXPECT_EQ(placed.y, owner.y + offset.y);

        ASSERT_NO_FATAL_FAILURE(CloseDialog(dialog, closes[i].action));
        EXPECT_TRUE(WaitForDialogClosed(run))
            << "the dialog did not close, or left the main window disabled";
    }
    EXPECT_EQ(run.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Shell, OnlyTheLowWordOfACommandCounts) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    // Unknown commands are left to default processing, which answers 0 and does nothing.
    for (WPARAM command :
         {WPARAM(0), WPARAM(1), WPARAM(103), WPARAM(106), WPARAM(0xFFFF), WPARAM(0x00690000)}) {
        EXPECT_EQ(SendMessageW(run.window, WM_COMMAND, command, 0), 0) << command;
        EXPECT_EQ(run.FindDialog(), nullptr) << command;
    }
    EXPECT_TRUE(IsWindow(run.window));

    PostMessageW(run.window, WM_COMMAND, MAKEWPARAM(104, 0xABCD), 12345);
    HWND dialog = WaitForVersionDialog(run);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), 0);
    EXPECT_TRUE(WaitForDialogClosed(run));

    PostMessageW(run.window, WM_COMMAND, MAKEWPARAM(105, 1), 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

struct EndCase {
    const char *how;
    int action; // 0 Alt+F, X; 1 close box; 2 Alt+F4
};

TEST(Shell, EndsWithExitCodeZeroEachWay) {
    const EndCase ends[] = {{"File, end (Alt+F, X)", 0}, {"close box", 1}, {"Alt+F4", 2}};
    for (const EndCase &end : ends) {
        SCOPED_TRACE(end.how);
        ProgramRun run;
        ASSERT_TRUE(run.Start(TYPICAL));
        ASSERT_TRUE(BringToFront(run.window));
        POINT point;
        switch (end.action) {
        case 0:
            PressKeys({VK_MENU}, 'F');
            ASSERT_TRUE(WaitFor([&] { return run.MenuOpen(); })) << "the File menu did not open";
            Type('X');
            break;
        case 1:
            ASSERT_TRUE(FindFramePart(run.window, HTCLOSE, &point));
            ClickAt(point);
            break;
        case 2:
            PressKeys({VK_MENU}, VK_F4);
            break;
        }
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
}

TEST(Shell, OpensMinimizedOrMaximizedAsTheStartUpInformationAsks) {
    {
        ProgramRun run;
        ASSERT_TRUE(run.Start(TYPICAL, SW_SHOWMAXIMIZED));
        EXPECT_TRUE(IsZoomed(run.window));
        EXPECT_FALSE(IsIconic(run.window));
        ASSERT_NO_FATAL_FAILURE(ExpectPaintedLine(run.window, ExpectedLine(TYPICAL)));
    }
    {
        ProgramRun run;
        ASSERT_TRUE(run.Start(TYPICAL, SW_SHOWMINIMIZED, false));
        // Found as soon as it exists, the window is shown a moment later.
        EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(run.window) && IsIconic(run.window); }));
        EXPECT_FALSE(IsZoomed(run.window));
    }
}

} // namespace
