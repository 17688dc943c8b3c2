// The window shell: entry, main window class and the two procedures that give the program its
// behaviour.
#pragma once

#include <windows.h>

// Characters of the title and class-name buffers, terminator included.
constexpr int SHELL_TEXT_UNITS = 100;

extern HINSTANCE g_instance;
extern WCHAR g_windowTitle[SHELL_TEXT_UNITS];
extern WCHAR g_windowClass[SHELL_TEXT_UNITS];

// The rest of a command line after the program's name, as wWinMain receives it: the name ends
// at the first blank (a code unit up to the space) outside double quotes, so a quoted name may
// hold blanks, and the blanks after the name are skipped. Points into the given line.
LPWSTR CommandLineAfterProgramName(LPWSTR commandLine);

ATOM RegisterMainWindowClass(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
