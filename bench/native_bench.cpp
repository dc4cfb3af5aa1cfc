// Times measuring then deleting a picture cache through PosixFileSystem against `du` then `rm` on identical
// trees, with the Win32 provider against Wine's `cmd /c dir /s /a` then `rd /s /q` under Wine beside it when a
// runner and the Windows build are given:
//   zelmora_bench WORK_FOLDER [WINE_RUNNER ZELMORA_BENCH_WIN32_EXE]
// The last line printed holds the ratios.

#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "cache_tree.h"
#include "child_process.h"
#include "engine/posix_file_system.h"
#include "measure_then_delete.h"
#include "median.h"

namespace zelmora::bench {

namespace {

constexpr int kRuns = 5;
constexpr int kWineRuns = 3;
constexpr int kCmdRuns = 1;  // Wine's rd alone takes about a minute on 20,000 files
constexpr uint64_t kSeed = 20240601;
constexpr double kRatioTarget = 1.1;

struct Variant {
    int files;
    double sizeScale;
    const char* sizes;
    bool underWine;
};

constexpr Variant kVariants[] = {
    {20000, 1.0, "1-200 KB, log-uniform", true},
    {100000, 1.0, "1-200 KB, log-uniform", false},
};

// Wall-clock and processor time of one run. Processor time is the steadier figure when other work shares the
// machine.
struct Timing {
    double wall = 0;
    double cpu = 0;
};
constexpr double kUnmeasured = -1;

// User and system time of this process (RUSAGE_SELF) or of its waited-for children (RUSAGE_CHILDREN).
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool Gone(const std::string& path) {
    std::error_code error;
    return !std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

Timing TimeOurs(const std::string& work, const std::string& name, int64_t expectedBytes) {
    PosixFileSystemFactory fileSystems(work);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const Pass pass = MeasureThenDelete(fileSystems, "C:\\" + name);
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    if (pass.bytes != expectedBytes)
        throw std::runtime_error("ours measured " + std::to_string(pass.bytes) + " bytes, the tree holds " +
                                 std::to_string(expectedBytes));
    if (!Gone(work + "/" + name))
        throw std::runtime_error("ours left " + work + "/" + name + " behind");
    return {pass.seconds, cpu};
}

Timing TimeDuThenRm(const std::string& folder) {
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    if (Run({"du", "-sb", "--apparent-size", folder}) != 0)
        throw std::runtime_error("du failed on " + folder);
    if (Run({"rm", "-rf", folder}) != 0)
        throw std::runtime_error("rm failed on " + folder);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    if (!Gone(folder))
        throw std::runtime_error("rm left " + folder + " behind");
    return {elapsed.count(), cpu};
}

std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    return windows;
}

// Times under Wine, per run, the Win32 provider and Wine's own `dir /s /a` then `rd /s /q`.
struct WineTimings {
    std::vector<Timing> ours;
    std::vector<Timing> dir;
    std::vector<Timing> rd;
    std::vector<Timing> dirThenRd;
};

// The times on the line that starts with the label, one for each of the runs.
std::vector<Timing> TimesOnLine(const std::string& output, const std::string& label, size_t runs) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first != label)
            continue;
        std::vector<Timing> times;
        for (double value = 0; words >> value;)
            times.push_back({value, kUnmeasured});
        if (times.size() == runs)
            return times;
    }
    throw std::runtime_error("the Win32 run gave no \"" + label + "\" times: " + output);
}

// Makes a copy of the tree for each run and each side; then one Wine process measures and deletes them all.
WineTimings TimeUnderWine(const CacheTree& tree, const std::string& work, const std::string& runner,
                          const std::string& exe) {
    const std::string folder = work + "/wine";
    std::filesystem::create_directory(folder);
    for (int run = 1; run <= kWineRuns; ++run)
        MakeCacheTree(tree, folder + "/zelmora-" + std::to_string(run));
    for (int run = 1; run <= kCmdRuns; ++run)
        MakeCacheTree(tree, folder + "/cmd-" + std::to_string(run));
    sync();
    std::string output;
    if (Run({runner, exe, WindowsPath(folder), std::to_string(kWineRuns), std::to_string(kCmdRuns),
             std::to_string(tree.totalBytes)},
            &output) != 0)
        throw std::runtime_error("the Win32 run failed: " + output);
    if (!std::filesystem::remove(folder))
        throw std::runtime_error("the Win32 run left trees behind in " + folder);
    WineTimings timings{TimesOnLine(output, "zelmora", kWineRuns),
                        TimesOnLine(output, "dir", kCmdRuns),
                        TimesOnLine(output, "rd", kCmdRuns),
                        {}};
    for (size_t run = 0; run < timings.dir.size(); ++run)
        timings.dirThenRd.push_back({timings.dir[run].wall + timings.rd[run].wall, kUnmeasured});
    return timings;
}

// Prints the medians of the runs; returns the wall-clock and processor-time medians.
Timing PrintRow(const char* label, const std::vector<Timing>& runs, int files) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Timing& run : runs) {
        wall.push_back(run.wall);
        cpu.push_back(run.cpu);
    }
    const Timing median{Median(wall), Median(cpu)};
    std::printf("  %-50s median %8.1f ms %7.2f µs/file", label, median.wall * 1e3, median.wall * 1e6 / files);
    if (median.cpu < 0)
        std::printf("   CPU %8s   ", "n/a");
    else
        std::printf("   CPU %8.1f ms", median.cpu * 1e3);
    std::printf("   runs (ms):");
    for (double run : wall)
        std::printf(" %.1f", run * 1e3);
    std::printf("\n");
    return median;
}

void PrintWineRows(const WineTimings& timings, int files) {
    std::printf("  under Wine:\n");
    const Timing ours = PrintRow("Win32FileSystem: MeasureTree + DeleteFolder", timings.ours, files);
    PrintRow("cmd /c dir /s /a", timings.dir, files);
    PrintRow("cmd /c rd /s /q", timings.rd, files);
    const Timing cmd = PrintRow("cmd dir, then rd", timings.dirThenRd, files);
    std::printf("  ratio Win32FileSystem / cmd dir+rd under Wine: %.2f wall clock\n", ours.wall / cmd.wall);
}

// Returns the ratio of the wall-clock medians, ours / du then rm.
double RunVariant(const Variant& variant, const std::string& work, const char* runner, const char* exe) {
    const CacheTree tree = PlanCacheTree(variant.files, variant.sizeScale, kSeed);
    std::printf("%d files in %zu folders, %lld bytes (sizes %s; sparse)\n", variant.files, tree.folders.size(),
                static_cast<long long>(tree.totalBytes), variant.sizes);
    std::fflush(stdout);

    std::vector<Timing> ours;
    std::vector<Timing> duRm;
    for (int run = 0; run < kRuns; ++run) {
        MakeCacheTree(tree, work + "/ours");
        MakeCacheTree(tree, work + "/du-rm");
        sync();
        if (run % 2 == 0) {
            ours.push_back(TimeOurs(work, "ours", tree.totalBytes));
            duRm.push_back(TimeDuThenRm(work + "/du-rm"));
        } else {
            duRm.push_back(TimeDuThenRm(work + "/du-rm"));
            ours.push_back(TimeOurs(work, "ours", tree.totalBytes));
        }
    }
    const Timing oursMedian = PrintRow("ours: MeasureTree + DeleteFolder (POSIX)", ours, variant.files);
    const Timing duRmMedian = PrintRow("du -sb --apparent-size, then rm -rf", duRm, variant.files);
    if (variant.underWine && runner)
        PrintWineRows(TimeUnderWine(tree, work, runner, exe), variant.files);
    const double ratio = oursMedian.wall / duRmMedian.wall;
    std::printf("  ratio ours / du+rm: %.2f wall clock, %.2f CPU (target <= %.2f)\n\n", ratio,
                oursMedian.cpu / duRmMedian.cpu, kRatioTarget);
    std::fflush(stdout);
    return ratio;
}

}  // namespace

}  // namespace zelmora::bench

int main(int argc, char** argv) {
    using namespace zelmora::bench;
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s WORK_FOLDER [WINE_RUNNER ZELMORA_BENCH_WIN32_EXE]\n", argv[0]);
        return 2;
    }
    try {
        const std::string work = std::filesystem::absolute(argv[1]).string();
        std::filesystem::create_directories(work);
        std::printf("Measure then delete a picture cache; %d runs each side, alternating, on fresh identical trees\n\n",
                    kRuns);
        std::string ratios;
        for (const Variant& variant : kVariants) {
            char text[64];
            std::snprintf(text, sizeof text, "%s%.2f (%d files)", ratios.empty() ? "" : ", ",
                          RunVariant(variant, work, argc == 4 ? argv[2] : nullptr, argc == 4 ? argv[3] : nullptr),
                          variant.files);
            ratios += text;
        }
        std::printf("ratio ours / du+rm: %s\n", ratios.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmora_bench: FAILED: %s\n", error.what());
        return 1;
    }
    return 0;
}
