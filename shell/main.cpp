#include "shell.h"
#include "resource_ids.h"

HINSTANCE g_instance;
WCHAR g_windowTitle[SHELL_TEXT_UNITS];
WCHAR g_windowClass[SHELL_TEXT_UNITS];

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_LARGE));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    windowClass.lpszClassName = g_windowClass;
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_SMALL));
    return RegisterClassExW(&windowClass);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    LoadStringW(instance, IDS_WINDOW_TITLE, g_windowTitle, SHELL_TEXT_UNITS);
    LoadStringW(instance, IDS_WINDOW_CLASS, g_windowClass, SHELL_TEXT_UNITS);
    RegisterMainWindowClass(instance);
    g_instance = instance;

    HWND window =
        CreateWindowExW(0, g_windowClass, g_windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                        CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAIN_ACCEL));
    // GetMessageW answers -1 on failure; looping "while nonzero" would then spin forever, so the
    // loop ends on it and the program returns 0.
    MSG message = {};
    BOOL fetched;
    while ((fetched = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return fetched < 0 ? 0 : static_cast<int>(message.wParam);
}
