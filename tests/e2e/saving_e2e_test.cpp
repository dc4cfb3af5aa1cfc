// Saves of the real program under Wine that no kill can cut short, and a full disk that they survive.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <thread>

#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What a settings file holds after a kill.
enum class Found { Whole, Mixed, Zeroed, Empty };

// Whole: the keys the case started with, and a total that one of the saves made, 0 or 5000 KB.
Found Inspect(const std::string& iniPath) {
    const std::string bytes = ReadFile(iniPath);
    if (bytes.empty())
        return Found::Empty;
    if (bytes.find('\0') != std::string::npos)
        return Found::Zeroed;
    const auto value = [&](const char* section, const char* key) { return Setting(iniPath, section, key); };
    const std::string total = value("Cls", "TGB") + "/" + value("Cls", "TMB") + "/" + value("Cls", "TKB");
    const bool whole = value("Auto", "Del") == "0" && value("Auto", "Time") == "1" && value("Auto", "ALoad") == "0" &&
                       (total == "0/0/0" || total == "0/4/904");
    return whole ? Found::Whole : Found::Mixed;
}

// The program saves again and again (a carry of 5000 KB, then a reset), and is killed at a random moment, many
// times over: every time, the next start finds every key and a total that one save made.
TEST(Saving, KillsWhileTheProgramSavesLeaveEveryKeyAndAConsistentTotal) {
    Zelmora app("kills", kQuietSettings);
    std::mt19937 random(std::random_device{}());
    int kills = 0;
    int found[4] = {};
    for (const auto end = Clock::now() + 25s; Clock::now() < end;) {
        app.Start();
        std::atomic<bool> saving = true;
        std::thread saves([&] {
            while (saving) {
                SendMessageW(app.Window(), WM_COMMAND, MAKEWPARAM(Form1Menu("TCls").Description().id, 0), 0);
                app.Type("TKB", "5000");
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution(200, 1200)(random)));
        app.Kill();
        saving = false;
        saves.join();
        ++kills;
        const Found state = Inspect(app.ConfigIni());
        ++found[static_cast<int>(state)];
        EXPECT_EQ(state, Found::Whole) << "kill " << kills << ":\n" << ReadFile(app.ConfigIni());
    }
    ForgetEndedTrayIcons();
    std::printf("%d kills: %d whole, %d mixed, %d zero-filled, %d empty\n", kills, found[0], found[1], found[2],
                found[3]);
    EXPECT_GE(kills, 5);
}

// The program folder on a small file system that is full: a cycle's save fails, the status line says so, and the
// settings file keeps what it held.
TEST(Saving, OnAFullDiskTheSaveFailsVisiblyAndTheOldSettingsStayWhole) {
    Zelmora app("full-disk", kQuietSettings);
    const std::string folder = UnixPath(app.ProgramFolder());
    RunShell("keep=$(mktemp -d); cp -a " + folder + "/. $keep; if mount -t tmpfs -o size=512k tmpfs " + folder +
             "; then cp -a $keep/. " + folder + "; head -c 1M /dev/zero >" + folder +
             "/filler 2>/dev/null; fi; rm -rf $keep");
    struct Unmount {
        std::string folder;
        ~Unmount() { RunShell("umount -l " + folder + " 2>/dev/null || true"); }
    } unmount{folder};
    if (ReadFile(app.ProgramFolder() + "\\filler").empty())
        GTEST_SKIP() << "no tmpfs can be mounted here: the case needs root";

    app.MakeCacheFile("p.jpg", 5 * 1024);
    app.Start();
    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 5KB 空间. 设置未能保存！")) << app.Text("Lb1");
    EXPECT_EQ(ReadFile(app.ConfigIni()), kQuietSettings);
    EXPECT_EQ(ReadFile(app.ConfigIni() + ".new"), "") << "no copy is left behind";
    app.Kill();
}

}  // namespace
}  // namespace zelmora::e2e
