#include "program_driver.h"

#include <cstdio>
#include <sstream>

#include "fake_cpuid.h"

namespace {

std::wstring OwnFolder() {
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A folder of its own for each run: process ids are reused, so the name also carries a
// count and the time, and the folder is removed when the run ends.
std::wstring NewWorkFolder() {
    static int counter;
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    WCHAR folder[MAX_PATH];
    wsprintfW(folder, L"%skalvora-test-%lu-%d-%08lx%08lx\\", temp, GetCurrentProcessId(), ++counter,
              static_cast<unsigned long>(now.HighPart), static_cast<unsigned long>(now.LowPart));
    CreateDirectoryW(folder, nullptr);
    return folder;
}

struct FindContext {
    DWORD processId;
    const wchar_t *className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    FindContext *context = reinterpret_cast<FindContext *>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    WCHAR className[64];
    if (processId == context->processId && GetClassNameW(window, className, 64) &&
        lstrcmpW(className, context->className) == 0) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(DWORD processId, const wchar_t *className) {
    FindContext context = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

void ProgramRun::SetAnswers(const Answers &answers) {
    std::string text;
    char number[16];
    for (unsigned int answer : answers) {
        std::snprintf(number, sizeof number, "%08X\n", answer);
        text += number;
    }
    // Written whole under another name and then moved over, so a report never reads half a file.
    const std::wstring partial = answersFile + L".new";
    HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(partial.c_str(), answersFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool ProgramRun::Start(const Answers &answers, int showCommand, bool awaitPaint) {
    return StartWith(answers, showCommand, awaitPaint, L"", false);
}

bool ProgramRun::StartWith(const Answers &answers, int showCommand, bool awaitPaint,
                           const std::wstring &arguments, bool emptyEnvironment) {
    folder = NewWorkFolder();
    answersFile = folder + L"answers.txt";
    logFile = folder + L"calls.log";
    SetAnswers(answers);
    SetEnvironmentVariableW(L"FAKE_CPUID_ANSWERS", answersFile.c_str());
    SetEnvironmentVariableW(L"FAKE_CPUID_LOG", logFile.c_str());

    const std::wstring program = OwnFolder() + L"kalvora.exe";
    std::wstring commandLine =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    static WCHAR noVariables[2] = {0, 0};
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, emptyEnvironment ? noVariables : nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    const DWORD id = process.dwProcessId;
    return WaitFor([&] { return (window = FindTopLevel(id, L"KALVORA")) != nullptr; }) &&
           (!awaitPaint || WaitForReports(1));
}

ProgramRun::~ProgramRun() {
    if (!process.hProcess) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileW(answersFile.c_str());
    DeleteFileW(logFile.c_str());
    RemoveDirectoryW(folder.c_str());
}

void ProgramRun::ReadNewLog() const {
    HANDLE file = CreateFileW(logFile.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(log_.size());
    SetFilePointerEx(file, offset, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read)
        log_.append(buffer, read);
    CloseHandle(file);
}

size_t ProgramRun::ReportCount() const {
    ReadNewLog();
    // Every report ends with its one EnableSSE4a query.
    const std::string last = std::string(FAKE_QUERY_NAMES[QUERY_SSE4A]) + "\n";
    for (size_t found; (found = log_.find(last, logScanned_)) != std::string::npos;) {
        ++completeReports_;
        logScanned_ = found + last.size();
    }
    return completeReports_;
}

std::vector<std::vector<std::string>> ProgramRun::Reports() const {
    ReadNewLog();
    std::vector<std::vector<std::string>> reports;
    std::istringstream lines(log_);
    for (std::string line; std::getline(lines, line);) {
        if (line == FAKE_QUERY_NAMES[QUERY_GET_CPUID] || reports.empty()) reports.emplace_back();
        reports.back().push_back(line);
    }
    // The last report is complete once its last query has been made.
    if (!reports.empty() && reports.back().back() != FAKE_QUERY_NAMES[QUERY_SSE4A])
        reports.pop_back();
    return reports;
}

bool ProgramRun::WaitForReports(size_t count) const {
    return WaitFor([&] { return ReportCount() >= count; });
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    return code;
}

HWND ProgramRun::FindDialog() const { return FindTopLevel(process.dwProcessId, L"#32770"); }

bool ProgramRun::MenuOpen() const {
    HWND menu = FindTopLevel(process.dwProcessId, L"#32768");
    return menu && IsWindowVisible(menu);
}

namespace {

INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

} // namespace

POINT VersionDialogUnitsToPixels(int x, int y) {
    const std::wstring program = OwnFolder() + L"kalvora.exe";
    HMODULE image = LoadLibraryExW(program.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HWND dialog = CreateDialogParamW(image, MAKEINTRESOURCEW(103), nullptr, IgnoreEverything, 0);
    RECT units = {x, y, 0, 0};
    MapDialogRect(dialog, &units);
    DestroyWindow(dialog);
    FreeLibrary(image);
    return {units.left, units.top};
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitFor([&] { return GetForegroundWindow() == window; }, 10000);
}

void PressKeys(const std::vector<WORD> &held, WORD key) {
    std::vector<INPUT> inputs;
    for (WORD modifier : held)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto modifier = held.rbegin(); modifier != held.rend(); ++modifier)
        inputs.push_back(KeyInput(*modifier, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Type(WORD key) { PressKeys({}, key); }

void ClickAt(POINT screen) {
    INPUT inputs[3] = {};
    for (INPUT &input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

bool FindFramePart(HWND window, LRESULT part, POINT *screen) {
    RECT frame;
    GetWindowRect(window, &frame);
    for (int y = frame.top; y < frame.top + 40 && y < frame.bottom; y += 2)
        for (int x = frame.right - 1; x > frame.left; x -= 2)
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part) {
                *screen = {x - 3, y + 3};
                if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screen->x, screen->y)) != part)
                    *screen = {x, y};
                return true;
            }
    return false;
}

namespace {

// Lets `draw` paint a bitmap compatible with `like` and returns its pixels as 0x00RRGGBB rows.
std::vector<unsigned int> DrawnPixels(HDC like, int width, int height,
                                      const std::function<void(HDC)> &draw) {
    HDC memory = CreateCompatibleDC(like);
    HBITMAP bitmap = CreateCompatibleBitmap(like, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned int> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    for (unsigned int &pixel : pixels)
        pixel &= 0x00FFFFFF;
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

} // namespace

std::vector<unsigned int> CaptureClient(HWND window, int width, int height) {
    HDC source = GetDC(window);
    std::vector<unsigned int> pixels = DrawnPixels(source, width, height, [&](HDC memory) {
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, source);
    return pixels;
}

std::vector<unsigned int> RenderLine(const std::wstring &line, int width, int height) {
    HDC screen = GetDC(nullptr);
    std::vector<unsigned int> pixels = DrawnPixels(screen, width, height, [&](HDC memory) {
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, GetSysColorBrush(COLOR_WINDOW));
        TextOutW(memory, 0, 0, line.c_str(), static_cast<int>(line.size()));
    });
    ReleaseDC(nullptr, screen);
    return pixels;
}
