// Start-to-window time of Zelmora.exe against a program that only opens an empty window, alternating.
// Usage: zelmora_startup_bench Zelmora.exe minimal_window.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "median.h"

namespace {

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindShown(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->window = window;
    return FALSE;
}

// Milliseconds from CreateProcess until the program's window is visible; then closes it.
double TimeToWindow(const std::wstring& program, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %ls\n", program.c_str());
        std::exit(1);
    }
    Search search{process.dwProcessId, nullptr};
    while (!search.window) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) {
            std::fprintf(stderr, "no window from %ls\n", program.c_str());
            std::exit(1);
        }
    }
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    PostMessageW(search.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return elapsed;
}

std::wstring Widen(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s Zelmora.exe minimal_window.exe\n", argv[0]);
        return 2;
    }
    // Zelmora runs from a folder of its own, with auto clear and start-at-log-on off.
    const std::wstring folder = L"C:\\zelmora-startup-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    CopyFileW(Widen(argv[1]).c_str(), (folder + L"\\Zelmora.exe").c_str(), FALSE);
    WritePrivateProfileStringW(L"Auto", L"Del", L"0", (folder + L"\\Config.ini").c_str());
    WritePrivateProfileStringW(L"Auto", L"ALoad", L"0", (folder + L"\\Config.ini").c_str());

    const std::wstring minimal = Widen(argv[2]);
    TimeToWindow(minimal, folder);  // warm-up
    std::vector<double> zelmora;
    std::vector<double> yardstick;
    for (int i = 0; i < 7; ++i) {
        zelmora.push_back(TimeToWindow(folder + L"\\Zelmora.exe", folder));
        yardstick.push_back(TimeToWindow(minimal, folder));
    }
    const double ours = zelmora::bench::Median(zelmora);
    const double theirs = zelmora::bench::Median(yardstick);
    std::printf("start to window, median of 7: Zelmora.exe %.0f ms, empty window %.0f ms\n", ours, theirs);
    std::printf("start-up ratio (target <= 1.5): %.2f\n", ours / theirs);
    return 0;
}
