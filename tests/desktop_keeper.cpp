// Holds Wine's desktop open for the length of a test run, so that each test's program does not
// wait for a desktop to be created and torn down again. Ended by the session's cleanup.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
