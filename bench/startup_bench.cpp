// Start-to-window time of Zelmora.exe against two yardsticks, launched in turn: the tray floor (an empty window
// with the same title that adds one tray icon before it shows) and an empty window alone; then the time at
// which each start-up step of Zelmora ends.
// Usage: zelmora_startup_bench Zelmora.exe floor_window.exe startup_steps.exe

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "median.h"

namespace {

constexpr int kRuns = 11;
constexpr double kTarget = 1.2;

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

[[noreturn]] void Fail(const char* what, const std::wstring& program) {
    std::fprintf(stderr, "%s: %ls\n", what, program.c_str());
    std::exit(1);
}

// Milliseconds from CreateProcess until the program's window is visible; then closes it and waits for its end.
double TimeToWindow(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        Fail("cannot start", program);
    Search search{process.dwProcessId, nullptr};
    while (!search.window) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60))
            Fail("no window from", program);
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

// Runs the step-timing build of Zelmora; returns each step's end in milliseconds since launch, in order.
std::vector<std::pair<std::string, double>> TimeSteps(const std::wstring& program, const std::wstring& folder) {
    const std::wstring output = folder + L"\\steps.txt";
    DeleteFileW(output.c_str());
    LARGE_INTEGER launch;
    QueryPerformanceCounter(&launch);
    TimeToWindow(program, std::to_wstring(launch.QuadPart) + L" \"" + output + L"\"", folder);
    std::vector<std::pair<std::string, double>> steps;
    std::ifstream file{std::filesystem::path(output)};
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        double milliseconds = 0;
        std::string step;
        fields >> milliseconds;
        fields.ignore(1);
        std::getline(fields, step);
        steps.emplace_back(step, milliseconds);
    }
    return steps;
}

}  // namespace

int main(int argc, char** argv) {
    using zelmora::bench::Median;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s Zelmora.exe floor_window.exe startup_steps.exe\n", argv[0]);
        return 2;
    }
    // Zelmora runs from a folder of its own, with auto clear and start-at-log-on off.
    const std::wstring folder = L"C:\\zelmora-startup-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring zelmora = folder + L"\\Zelmora.exe";
    const std::wstring steps = folder + L"\\startup_steps.exe";
    CopyFileW(Widen(argv[1]).c_str(), zelmora.c_str(), FALSE);
    CopyFileW(Widen(argv[3]).c_str(), steps.c_str(), FALSE);
    WritePrivateProfileStringW(L"Auto", L"Del", L"0", (folder + L"\\Config.ini").c_str());
    WritePrivateProfileStringW(L"Auto", L"ALoad", L"0", (folder + L"\\Config.ini").c_str());

    const std::wstring floor = Widen(argv[2]);
    TimeToWindow(floor, L"tray", folder);  // warm-up
    TimeToWindow(zelmora, L"", folder);
    std::vector<double> ours;
    std::vector<double> trayFloor;
    std::vector<double> emptyWindow;
    for (int i = 0; i < kRuns; ++i) {
        ours.push_back(TimeToWindow(zelmora, L"", folder));
        trayFloor.push_back(TimeToWindow(floor, L"tray", folder));
        emptyWindow.push_back(TimeToWindow(floor, L"", folder));
    }

    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> stepTimes;
    for (int i = 0; i < kRuns; ++i) {
        for (const auto& [step, milliseconds] : TimeSteps(steps, folder)) {
            if (!stepTimes.contains(step))
                order.push_back(step);
            stepTimes[step].push_back(milliseconds);
        }
    }

    std::printf(
        "start to window, median of %d, launched in turn: Zelmora.exe %.1f ms, tray floor %.1f ms, "
        "empty window %.1f ms\n",
        kRuns, Median(ours), Median(trayFloor), Median(emptyWindow));
    std::printf("Zelmora's start-up steps, median end in ms since launch (a build that tells them):\n");
    for (const std::string& step : order)
        std::printf("  %8.1f  %s\n", Median(stepTimes[step]), step.c_str());
    std::printf("start-up ratio to the tray floor (target <= %.1f): %.2f\n", kTarget, Median(ours) / Median(trayFloor));
    return 0;
}
