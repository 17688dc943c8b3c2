#include "shell.h"
#include "feature_report.h"
#include "resource_ids.h"

namespace {

void PaintFeatureReport(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    WCHAR report[REPORT_BUFFER_UNITS] = {};
    FormatFeatureReport(report);
    TextOutW(dc, 0, 0, report, lstrlenW(report));
    EndPaint(window, &paint);
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintFeatureReport(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_VERSION:
            DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_VERSION), window, VersionDialogProc,
                            0);
            return 0;
        case IDM_QUIT:
            DestroyWindow(window);
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
