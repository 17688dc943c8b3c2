// Figures, not verdicts: the program against the minimal window program, and the report
// against the processor instruction it stands on. Run it with scripts/benchmark.
#include <windows.h>
#include <cpuid.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cpuid_features.h"
#include "feature_report.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring Folder() {
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

struct Window {
    PROCESS_INFORMATION process;
    HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    Window *run = reinterpret_cast<Window *>(lParam);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (id != run->process.dwProcessId || !IsWindowVisible(window)) return TRUE;
    run->window = window;
    return FALSE;
}

// Seconds from CreateProcess until the program has painted and waits for input; the window
// is left open for the caller.
double Launch(const std::wstring &program, Window *run) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    *run = {};
    const double start = Now();
    CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   &startup, &run->process);
    WaitForInputIdle(run->process.hProcess, 60000);
    const double elapsed = Now() - start;
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(run));
    return elapsed;
}

void Close(Window *run) {
    PostMessageW(run->window, WM_CLOSE, 0, 0);
    WaitForSingleObject(run->process.hProcess, 60000);
    CloseHandle(run->process.hThread);
    CloseHandle(run->process.hProcess);
}

double RepaintSeconds(HWND window, int repaints) {
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        const double start = Now();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        times.push_back(Now() - start);
    }
    return Median(times);
}

CpuidLeaf ExecuteCpuid(std::uint32_t leaf, const void *) {
    CpuidLeaf result;
    __cpuid_count(leaf, 0, result.eax, result.ebx, result.ecx, result.edx);
    return result;
}

long FileSize(const std::wstring &path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)
               ? static_cast<long>(data.nFileSizeLow)
               : -1;
}

} // namespace

int main() {
    const std::wstring program = Folder() + L"kalvora.exe",
                       minimal = Folder() + L"minimal_window.exe";
    const int launches = 11, repaints = 201;

    std::vector<double> ours, theirs, oursRepaint, theirsRepaint;
    for (int i = 0; i < launches; ++i) {
        Window run;
        ours.push_back(Launch(program, &run));
        oursRepaint.push_back(RepaintSeconds(run.window, repaints));
        Close(&run);
        theirs.push_back(Launch(minimal, &run));
        theirsRepaint.push_back(RepaintSeconds(run.window, repaints));
        Close(&run);
    }
    const double launch = Median(ours), minimalLaunch = Median(theirs);
    const double repaint = Median(oursRepaint), minimalRepaint = Median(theirsRepaint);
    std::printf("launch to first paint: %.1f ms against the minimal program's %.1f ms: %.3fx "
                "(median of %d each, interleaved)\n",
                launch * 1e3, minimalLaunch * 1e3, launch / minimalLaunch, launches);
    std::printf("repaint (RedrawWindow, update now): %.1f us against %.1f us: %.3fx (median of %d "
                "x %d each)\n",
                repaint * 1e6, minimalRepaint * 1e6, repaint / minimalRepaint, launches, repaints);

    const int reports = 100000;
    WCHAR line[REPORT_BUFFER_UNITS];
    double start = Now();
    for (int i = 0; i < reports; ++i) {
        ZeroMemory(line, sizeof line);
        FormatFeatureReport(line);
    }
    const double report = (Now() - start) / reports;
    unsigned int eax, ebx, ecx, edx, sink = 0;
    start = Now();
    for (int i = 0; i < reports; ++i) {
        __cpuid_count(1, 0, eax, ebx, ecx, edx);
        sink += eax + ecx;
    }
    const double instruction = (Now() - start) / reports;
    start = Now();
    for (int i = 0; i < reports / 10; ++i)
        sink += DecodeProcessorFeatures(ExecuteCpuid, nullptr).signature;
    const double decoding = (Now() - start) / (reports / 10);
    std::printf("one FormatFeatureReport with our CPUID.dll: %.0f ns; one CPUID instruction: %.0f "
                "ns: %.2fx\n",
                report * 1e9, instruction * 1e9, report / instruction);
    std::printf("decoding the processor afresh (what each query would cost uncached): %.0f ns, "
                "%.0f ns for a report's 13 queries\n",
                decoding * 1e9, 13 * decoding * 1e9);
    std::printf(
        "sizes: kalvora.exe %ld bytes (target 73728), CPUID.dll %ld bytes (target 16384)%s\n",
        FileSize(program), FileSize(Folder() + L"CPUID.dll"), sink ? "" : " ");
    std::printf("report line here: %ls\n", line);
    return 0;
}
