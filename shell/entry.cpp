// The program's entry. What ships links none of the C run-time's start-up code (it is built for
// newer processors than the i486), so this does the little that start-up would: it calls
// wWinMain the platform's way and ends the process with its result.
#include "shell.h"

// The linker's name for the first byte of this image, which is its instance handle.
extern "C" IMAGE_DOS_HEADER __ImageBase;

// The loader promises no 16-byte stack alignment at the entry.
extern "C" __attribute__((force_align_arg_pointer)) void wWinMainCRTStartup(void) {
    STARTUPINFOW startup;
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int showCommand =
        startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    const int result = wWinMain(reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr,
                                CommandLineAfterProgramName(GetCommandLineW()), showCommand);
    ExitProcess(static_cast<UINT>(result));
}
