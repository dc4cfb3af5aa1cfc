// A big cache against the real program under Wine: gigabytes told and counted whole, a window that answers while
// thousands of pictures go, and an end of the program in the middle of a cycle.

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

// 2,000 pictures of 1 KB, and a chain of folders 800 deep, each costing Wine more to open than the last: a cycle
// that runs a while.
void MakeALongCycle() {
    MakePictures(10, 200);
    RunShell("perl -e 'chdir shift or die; for (1 .. 800) { mkdir q(d) or die; chdir q(d) or die }' " +
             UnixPath(Zelmora::CacheFolder()));
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

// The ways a program is told to end: Exit, the end of the session, and an installer's close through the Restart
// Manager (WM_QUERYENDSESSION answered at once, then WM_ENDSESSION with ENDSESSION_CLOSEAPP).
enum class Ending { Exit, EndOfSession, InstallersClose };

void End(Zelmora& app, Ending ending) {
    switch (ending) {
        case Ending::Exit:
            app.ChooseMenu("TExit");
            break;
        case Ending::EndOfSession:
            RunAndWait("wineboot.exe --end-session");
            break;
        case Ending::InstallersClose: {
            constexpr LPARAM kCloseApp = 0x1;
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, kCloseApp, SMTO_ABORTIFHUNG, 1000, &answer);
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
            SendMessageTimeoutW(app.Window(), WM_ENDSESSION, TRUE, kCloseApp, SMTO_ABORTIFHUNG, 5000, nullptr);
            break;
        }
    }
}

class EndDuringACycle : public ::testing::TestWithParam<Ending> {};

// Told to end, the program stops the cycle at its next entry, counts what went and stores it, and ends at once.
TEST_P(EndDuringACycle, EndsAtOnceAndStoresWhatWent) {
    Zelmora app("end-during", kQuietSettings);
    MakeALongCycle();
    app.Start();
    app.Click("Ccls");
    app.Click("CDel");
    ASSERT_TRUE(Zelmora::WaitFor([&] { return app.Text("Lb1").starts_with("正在清理"); }, 30s));
    const auto told = Clock::now();
    End(app, GetParam());
    app.WaitForExit();
    const auto ended = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - told).count();
    std::printf("Ended during a cycle after %lld ms\n", static_cast<long long>(ended));
    EXPECT_LT(ended, 5000);
    EXPECT_TRUE(app.CacheExists()) << "stopped before the end";

    const int went = 2000 - PicturesLeft();
    const std::string stored = Setting(app.ConfigIni(), "Cls", "TMB") + "/" + Setting(app.ConfigIni(), "Cls", "TKB");
    EXPECT_EQ(stored, went >= 1024 ? std::to_string(went / 1024) + "/0" : "0/" + std::to_string(went))
        << went << " pictures of 1 KB went";
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& ending) {
    switch (ending.param) {
        case Ending::Exit:
            return "Exit";
        case Ending::EndOfSession:
            return "EndOfSession";
        case Ending::InstallersClose:
            break;
    }
    return "InstallersClose";
}

INSTANTIATE_TEST_SUITE_P(BigCache, EndDuringACycle,
                         ::testing::Values(Ending::Exit, Ending::EndOfSession, Ending::InstallersClose), EndingName);

// A listing the file system holds (a network drive that hangs): Exit waits for the cycle two seconds, stores what
// went, and the program ends well within the five seconds Windows gives. strace holds the cleaning's thread in its
// listings, as such a drive would.
TEST(BigCache, ExitWhileTheFileSystemHoldsTheCycleEndsInTimeAndStoresWhatWent) {
    Zelmora app("held-listing", kQuietSettings);
    MakeALongCycle();
    app.Start();
    const std::string threads = UnixPath(app.ProgramFolder() + "\\threads");
    const std::string program = "pid=$(pgrep -f 'zelmora-e2e.held-listing.Zelmora.exe' | head -n 1); ";
    RunShell(program + "ls /proc/$pid/task >" + threads);
    app.Click("Ccls");
    app.Click("CDel");
    ASSERT_TRUE(Zelmora::WaitFor([&] { return app.Text("Lb1").starts_with("正在清理"); }, 30s));
    RunShell(program + "for t in $(ls /proc/$pid/task); do grep -qx $t " + threads +
             " || workers=$workers' -p '$t; done; nohup strace -qq -o /dev/null -e trace=getdents64 "
             "-e inject=getdents64:delay_enter=30s $workers >/dev/null 2>&1 & true");
    std::this_thread::sleep_for(500ms);
    const auto told = Clock::now();
    app.ChooseMenu("TExit");
    app.WaitForExit();
    RunShell("pkill -x strace || true");
    const auto ended = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - told).count();
    std::printf("Exit while a listing is held: ended after %lld ms\n", static_cast<long long>(ended));
    EXPECT_GE(ended, 1900) << "the cycle was held, and waited for";
    EXPECT_LT(ended, 4000);

    const int went = 2000 - PicturesLeft();
    const int stored =
        std::stoi(Setting(app.ConfigIni(), "Cls", "TMB")) * 1024 + std::stoi(Setting(app.ConfigIni(), "Cls", "TKB"));
    EXPECT_LE(stored, went) << "only what went is counted";
    EXPECT_GE(stored, went - 200) << "all but the folder it was held in, at most";
}

}  // namespace
}  // namespace zelmora::e2e
