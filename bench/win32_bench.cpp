// Times measuring then deleting trees made beforehand, through Win32FileSystem and through Wine's own cmd:
//   zelmora_bench_win32 FOLDER RUNS CMD_RUNS BYTES
// Measures and deletes FOLDER\zelmora-1 to FOLDER\zelmora-RUNS, each of which must hold BYTES, with the
// provider; then lists FOLDER\cmd-1 to FOLDER\cmd-CMD_RUNS with `dir /s /a` and deletes each with `rd /s /q`.
// Prints the times of each kind on a line of its own: "zelmora", "dir" and "rd", each followed by the seconds
// of every run.

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/win32_text.h"
#include "engine/win32_file_system.h"
#include "measure_then_delete.h"

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs a cmd command line with its output discarded and waits for it; the time includes starting cmd.
double TimeCmd(const std::string& command) {
    std::wstring commandLine = zelmora::Widen("cmd.exe /c " + command + " >NUL");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot run cmd /c " + command);
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (exitCode != 0)
        throw std::runtime_error("cmd /c " + command + " failed with " + std::to_string(exitCode));
    return Seconds(start, end);
}

void PrintLine(const char* label, const std::vector<double>& seconds) {
    std::printf("%s", label);
    for (double value : seconds)
        std::printf(" %.6f", value);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zelmora;
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER RUNS CMD_RUNS BYTES\n", argv[0]);
        return 2;
    }
    try {
        Win32FileSystemFactory fileSystems;
        const std::string folder = argv[1];
        const int runs = std::stoi(argv[2]);
        const int cmdRuns = std::stoi(argv[3]);
        const long long expectedBytes = std::stoll(argv[4]);
        std::vector<double> ours;
        std::vector<double> dir;
        std::vector<double> rd;
        for (int run = 1; run <= runs; ++run) {
            const std::string path = folder + "\\zelmora-" + std::to_string(run);
            const bench::Pass pass = bench::MeasureThenDelete(fileSystems, path);
            if (pass.bytes != expectedBytes)
                throw std::runtime_error(path + " measured " + std::to_string(pass.bytes) + " bytes, it holds " +
                                         std::to_string(expectedBytes));
            ours.push_back(pass.seconds);
        }
        for (int run = 1; run <= cmdRuns; ++run) {
            const std::string tree = "\"" + folder + "\\cmd-" + std::to_string(run) + "\"";
            dir.push_back(TimeCmd("dir /s /a " + tree));
            rd.push_back(TimeCmd("rd /s /q " + tree));
        }
        PrintLine("zelmora", ours);
        PrintLine("dir", dir);
        PrintLine("rd", rd);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmora_bench_win32: FAILED: %s\n", error.what());
        return 1;
    }
    return 0;
}
