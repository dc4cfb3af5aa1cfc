// A cycle of the real Zelmora.exe over 100,000 pictures under Wine, with another program sending its window WM_NULL
// every 10 ms, against the same work without the window (the measurement and the deletion in this process):
//   zelmora_cycle_bench [PICTURES]    (100,000 by default, 200 to a folder; ZELMORA_EXE names the program)
// Prints the round trips' worst and 99th percentile during the cycle and the cycle's time against the work's.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "engine/win32_file_system.h"
#include "measure_then_delete.h"
#include "zelmora_driver.h"

namespace zelmora::bench {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kPerFolder = 200;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void MakePictures(const std::string& cache, int pictures) {
    e2e::RunShell("mkdir -p " + e2e::UnixPath(cache) +
                      " && perl -e 'my ($cache, $n, $each) = @ARGV; for my $p (0 .. $n - 1) { my $f = int($p / $each); "
                      "mkdir qq($cache/f$f); open(F, q(>), qq($cache/f$f/p$p.jpg)) or die; print F chr(0) x 1024 }' " +
                      e2e::UnixPath(cache) + " " + std::to_string(pictures) + " " + std::to_string(kPerFolder),
                  10min);
}

// Sends the window WM_NULL every 10 ms and keeps each round trip, until stopped.
class Probe {
public:
    explicit Probe(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const auto start = Clock::now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                  roundTrips_.push_back(Milliseconds(Clock::now() - start));
                  std::this_thread::sleep_for(10ms);
              }
          }) {}
    std::vector<double> Stop() {
        stop_ = true;
        thread_.join();
        std::sort(roundTrips_.begin(), roundTrips_.end());
        return roundTrips_;
    }

private:
    std::atomic<bool> stop_ = false;
    std::vector<double> roundTrips_;
    std::thread thread_;
};

int Bench(int pictures) {
    e2e::Zelmora app("cycle-bench", "[Auto]\r\nDel=1\r\nTime=1440\r\nALoad=0\r\n", "bench");
    const std::string cache = app.CacheFolder();
    MakePictures(cache, pictures);
    app.Start();
    Probe probe(app.Window());
    // 立即清理, then the clock's tick at once: the cycle starts as the tick is handled.
    const auto start = Clock::now();
    app.Click("Ccls");
    SendMessageW(app.Window(), WM_TIMER, Form1Control("Tm1").Description().id, 0);
    const std::string report = app.Report(1h);
    const double cycle = Milliseconds(Clock::now() - start);
    const std::vector<double> roundTrips = probe.Stop();
    if (roundTrips.empty() || report.find("删除成功") == std::string::npos) {
        std::fprintf(stderr, "cycle-bench: the cycle told %s\n", report.c_str());
        return 1;
    }

    MakePictures(cache, pictures);
    Win32FileSystemFactory fileSystems;
    const Pass work = MeasureThenDelete(fileSystems, cache);

    const double p99 = roundTrips[std::min(roundTrips.size() - 1, roundTrips.size() * 99 / 100)];
    std::printf("A cycle over %d pictures of 1 KB in %d folders, WM_NULL sent to the window every 10 ms:\n", pictures,
                pictures / kPerFolder);
    std::printf(
        "  round trips during the cycle: %zu, the worst %.1f ms, 99th percentile %.1f ms (target: all "
        "within 100 ms)\n",
        roundTrips.size(), roundTrips.back(), p99);
    std::printf(
        "  the cycle in Zelmora.exe %.0f ms, the same work without the window %.0f ms: %.2f times (target "
        "<= 1.1)\n",
        cycle, work.seconds * 1000, cycle / (work.seconds * 1000));
    return 0;
}

}  // namespace
}  // namespace zelmora::bench

int main(int argc, char** argv) {
    try {
        return zelmora::bench::Bench(argc > 1 ? std::atoi(argv[1]) : 100000);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "cycle-bench: %s\n", failure.what());
        return 1;
    }
}
