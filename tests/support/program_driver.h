// Starts a copy of the program beside the scripted CPUID.dll and drives it as a user would:
// real keyboard and mouse input, bounded waits, and the stand-in's record of every query.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_answers.h"

// Polls the condition until it holds or the time is up; says whether it held.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 20000);

struct ProgramRun {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
    std::wstring folder, answersFile, logFile;

    // Starts the program next to this test program; showCommand < 0 leaves the start-up
    // information without a show command. Waits for the main window and, unless told not to
    // (a minimized window has nothing to paint), its first report.
    bool Start(const Answers &answers, int showCommand = -1, bool awaitPaint = true);
    // The same with the rest of the command line after the program's name, and optionally an
    // empty environment (the scripted library then answers 0 and records nothing).
    bool StartWith(const Answers &answers, int showCommand, bool awaitPaint,
                   const std::wstring &arguments, bool emptyEnvironment);
    ~ProgramRun(); // ends a program the test left running and removes its files

    void SetAnswers(const Answers &answers);
    // Complete reports (one per paint) so far, each as the list of queries it made.
    std::vector<std::vector<std::string>> Reports() const;
    size_t ReportCount() const; // the same count, read incrementally
    bool WaitForReports(size_t count) const;
    // The exit code once the process has ended within the time, else STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs = 20000) const;
    HWND FindDialog() const;
    bool MenuOpen() const; // a drop-down menu of the program is on the screen

  private:
    void ReadNewLog() const;
    mutable std::string log_;
    mutable size_t logScanned_ = 0, completeReports_ = 0;
};

// Dialog units of the program's version dialog in pixels, measured on a hidden copy of that
// dialog made in this process from the program's own template.
POINT VersionDialogUnitsToPixels(int x, int y);

// Real input, as the platform's input queue receives it from the keyboard and the mouse.
bool BringToFront(HWND window);
void PressKeys(const std::vector<WORD> &held, WORD key);
void Type(WORD key);
void ClickAt(POINT screen);
// The screen point of a part of a window's frame (HTCLOSE, ...), found by hit-testing.
bool FindFramePart(HWND window, LRESULT part, POINT *screen);

// Pixels of the window's client area, and of the line as the default font draws it on the
// window background, both as 0x00RRGGBB rows of the given size.
std::vector<unsigned int> CaptureClient(HWND window, int width, int height);
std::vector<unsigned int> RenderLine(const std::wstring &line, int width, int height);
