// Holds Wine's desktop open for the length of a test run, so that each test's program does not
// wait for a desktop to be created and torn down again. Ended by the session's cleanup.
// Usage: desktop_keeper READY_FILE, created once the desktop exists.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR readyFile, int) {
    GetDesktopWindow();
    CloseHandle(CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(INFINITE);
    return 0;
}
