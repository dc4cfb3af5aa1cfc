// Stress: one cleaning cycle of the real Zelmora.exe under Wine over a cache nested LEVELS folders deep (12,000
// by default), far deeper than a walk on the call stack could go, with how long it took and what it cost.
//   zelmora_stress [LEVELS]    (ZELMORA_EXE names the program)
//
// Wine resolves the real path of every entry it opens, at a cost that grows with the depth until the path passes
// 4,096 bytes; the tree gets there within 16 levels of long names. Wine also deletes through such paths and cannot
// below that length, so the deep part stays (on Windows it goes): the program must stay up and say so.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "zelmora_driver.h"

namespace zelmora::stress {
namespace {

using namespace std::chrono_literals;

double ProcessorSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

int Stress(int levels) {
    e2e::Zelmora app("stress-deep", e2e::kQuietSettings);
    app.MakeCacheFile("top.jpg", 64 * 1024);
    const int longLevels = levels < 16 ? levels : 16;
    e2e::RunShell("perl -e 'chdir shift or die; for ((q(x) x 250) x " + std::to_string(longLevels) + ", (q(d)) x " +
                  std::to_string(levels - longLevels) +
                  ") { mkdir or die; chdir $_ or die } open(F, q(>), q(bottom.jpg)) or die; print F chr(0) x 1024' " +
                  e2e::UnixPath(app.CacheFolder()));
    app.Start();
    DWORD processId = 0;
    GetWindowThreadProcessId(app.Window(), &processId);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    const double before = ProcessorSeconds(process);

    const auto start = std::chrono::steady_clock::now();
    app.Click("CDel");
    app.Click("Ccls");
    const bool told = !app.Report(3600s).empty();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    std::printf("levels                 %d (the first %d of 250-letter names)\n", levels, longLevels);
    std::printf("cycle, to its report   %.1f s\n", took.count());
    std::printf("program's processor    %.1f s\n", ProcessorSeconds(process) - before);
    std::printf("status line            %s\n", app.Text("Lb1").c_str());
    std::printf("KB counted             %s (64 at the top; the deep part stays under Wine)\n", app.Text("TKB").c_str());
    std::printf("program still running  %s\n", app.Running() ? "yes" : "no");
    const bool passed = told && app.Running() && !e2e::ShowsABox(app);
    CloseHandle(process);
    e2e::RunShell("rm -rf " + e2e::UnixPath(app.CacheFolder()));
    return passed ? 0 : 1;
}

}  // namespace
}  // namespace zelmora::stress

int main(int argc, char** argv) {
    try {
        return zelmora::stress::Stress(argc > 1 ? std::atoi(argv[1]) : 12000);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "stress: %s\n", failure.what());
        return 1;
    }
}
