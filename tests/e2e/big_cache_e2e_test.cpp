// A big cache against the real program under Wine: gigabytes told and counted whole, a window that answers while
// thousands of pictures go, and an Exit in the middle of a cycle.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/win32_text.h"
#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Pictures of 1 KB, made by Linux: so many folders of so many each.
void MakePictures(int folders, int perFolder) {
    const std::string cache = UnixPath(Zelmora::CacheFolder());
    RunShell("mkdir -p " + cache +
             " && perl -e 'my ($cache, $folders, $each) = @ARGV; for my $f (1 .. $folders) { "
             "mkdir qq($cache/f$f); for my $p (1 .. $each) { open(F, q(>), qq($cache/f$f/p$p.jpg)) or die; "
             "print F chr(0) x 1024 } }' " +
             cache + " " + std::to_string(folders) + " " + std::to_string(perFolder));
}

int PicturesLeft() {
    WIN32_FIND_DATAW found;
    int left = 0;
    const HANDLE folders = FindFirstFileW(Widen(Zelmora::CacheFolder() + "\\f*").c_str(), &found);
    if (folders == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring pattern = Widen(Zelmora::CacheFolder() + "\\") + found.cFileName + L"\\*.jpg";
        WIN32_FIND_DATAW picture;
        const HANDLE pictures = FindFirstFileW(pattern.c_str(), &picture);
        if (pictures == INVALID_HANDLE_VALUE)
            continue;
        do
            ++left;
        while (FindNextFileW(pictures, &picture));
        FindClose(pictures);
    } while (FindNextFileW(folders, &found));
    FindClose(folders);
    return left;
}

TEST(BigCache, FourGigabytesAreToldCountedAndStoredWhole) {
    Zelmora app("four-gigabytes", kQuietSettings);
    for (const char* picture : {"a\\1.bin", "a\\2.bin", "b.bin", "c\\d\\e.bin"})
        app.MakeCacheFile(picture, 1ULL << 30);  // sparse
    app.Start();
    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 4096MB 空间.")) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TGB") + "/" + app.Text("TMB") + "/" + app.Text("TKB"), "4/0/0");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TGB"), "4") << "stored at once";
    EXPECT_FALSE(app.CacheExists());
    EXPECT_FALSE(ShowsABox(app));
}

// Another program's messages are answered while the pictures go; the status line tells how far the cycle has come.
TEST(BigCache, TheWindowAnswersWhileThousandsOfPicturesGo) {
    Zelmora app("answers", kQuietSettings);
    MakePictures(40, 100);
    app.Start();
    std::atomic<bool> probing = true;
    Clock::duration worst{};
    int answers = 0;
    std::thread probe([&] {
        while (probing) {
            const auto start = Clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(app.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
            worst = std::max(worst, Clock::now() - start);
            ++answers;
            std::this_thread::sleep_for(10ms);
        }
    });
    const auto start = Clock::now();
    const std::string report = app.RunCycle();
    const auto cycle = Clock::now() - start;
    probing = false;
    probe.join();

    EXPECT_TRUE(report.ends_with(" 删除成功!已释放 3MB 空间.")) << report;
    const auto worstMs = std::chrono::duration_cast<std::chrono::milliseconds>(worst).count();
    const auto cycleMs = std::chrono::duration_cast<std::chrono::milliseconds>(cycle).count();
    std::printf("4,000 pictures: cycle %lld ms, %d round trips, the longest %lld ms\n", static_cast<long long>(cycleMs),
                answers, static_cast<long long>(worstMs));
    EXPECT_LT(worstMs, 500);
    EXPECT_GT(answers, 3) << "answered all the while";
}

// Exit stops the cycle at its next entry, counts what went and stores it, and the program ends at once. A chain of
// folders 800 deep, each costing Wine more to open than the last, keeps the cycle running a while.
TEST(BigCache, ExitDuringACycleEndsAtOnceAndStoresWhatWent) {
    Zelmora app("exit-during", kQuietSettings);
    MakePictures(10, 200);
    RunShell("perl -e 'chdir shift or die; for (1 .. 800) { mkdir q(d) or die; chdir q(d) or die }' " +
             UnixPath(app.CacheFolder()));
    app.Start();
    app.Click("Ccls");
    app.Click("CDel");
    ASSERT_TRUE(Zelmora::WaitFor([&] { return app.Text("Lb1").starts_with("正在清理"); }, 30s));
    const auto chosen = Clock::now();
    app.ChooseMenu("TExit");
    app.WaitForExit();
    const auto ended = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - chosen).count();
    std::printf("Exit during a cycle: ended after %lld ms\n", static_cast<long long>(ended));
    EXPECT_LT(ended, 5000);
    EXPECT_TRUE(app.CacheExists()) << "stopped before the end";

    const int went = 2000 - PicturesLeft();
    const std::string stored = Setting(app.ConfigIni(), "Cls", "TMB") + "/" + Setting(app.ConfigIni(), "Cls", "TKB");
    EXPECT_EQ(stored, went >= 1024 ? std::to_string(went / 1024) + "/0" : "0/" + std::to_string(went))
        << went << " pictures of 1 KB went";
}

}  // namespace
}  // namespace zelmora::e2e
