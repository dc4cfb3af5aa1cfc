#include <gtest/gtest.h>

#include "harness.h"

namespace zelmora::testing {
namespace {

const std::string kInUse = "14:03:27 可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";
const std::string kNoCache = "14:03:27 新浪微博缓存路径不存在！";

struct Cycle : ::testing::Test {
    Harness h;
    Form1& form = h.form;

    void SetUp() override {
        h.Load();
        form.TKB.SetText("0");
        form.TMB.SetText("0");
        form.TGB.SetText("0");
        form.Tx1.SetText("");
        form.Tm1.SetEnabled(true);
    }
    FakeNode& CacheOf(int64_t bytes) {
        FakeNode& cache = h.fileSystems.AddRoot(kAliceCache);
        cache.files = {{"p.jpg", bytes}};
        return cache;
    }
    std::vector<std::string> TicksShow(int ticks) {
        std::vector<std::string> shown;
        for (int i = 0; i < ticks; ++i) {
            form.Tm1.Tick();
            shown.push_back(form.LTime.Text());
        }
        return shown;
    }
};

TEST_F(Cycle, CountsDownThenRunsACycleAndReloads) {
    form.TDel.SetText("1");
    form.LTime.SetText("3");
    EXPECT_EQ(TicksShow(3), (std::vector<std::string>{"2", "1", "0"}));
    EXPECT_EQ(h.fileSystems.created, 0);
    EXPECT_EQ(TicksShow(1), std::vector<std::string>{"60"});
    EXPECT_EQ(form.Lb1.Text(), kNoCache);
    // The next cycle comes 61 ticks later.
    TicksShow(60);
    EXPECT_EQ(form.LTime.Text(), "0");
    const int created = h.fileSystems.created;
    TicksShow(1);
    EXPECT_GT(h.fileSystems.created, created);
}

TEST_F(Cycle, FractionalCountdownsAndIntervals) {
    form.TDel.SetText("1.5");
    form.LTime.SetText("2.5");
    EXPECT_EQ(TicksShow(3), (std::vector<std::string>{"1.5", "0.5", "90"}));
}

TEST_F(Cycle, AnIntervalBelowOneOrNoNumberLeavesTheCountdownDue) {
    for (const char* interval : {"0", "0.5", "", "abc", "1e308"}) {
        form.TDel.SetText(interval);
        form.LTime.SetText("0");
        const int cycles = h.fileSystems.created;
        EXPECT_EQ(TicksShow(2), (std::vector<std::string>{"0", "0"})) << interval;
        EXPECT_EQ(h.fileSystems.created, cycles + 2) << interval;
    }
}

TEST_F(Cycle, ThePlaceholderCountdownReadsAsZero) {
    form.TDel.SetText("2");
    form.LTime.SetText("LTime");
    EXPECT_EQ(TicksShow(1), std::vector<std::string>{"120"});
}

struct SizeCase {
    int64_t bytes;
    const char* sizeText;
    const char* tkb;
    const char* tmb;
};

TEST_F(Cycle, ReportsWholeKilobytesOrMegabytesAndTallies) {
    for (const SizeCase& c : {SizeCase{1023, "0KB", "0", "0"}, SizeCase{1048575, "1023KB", "1023", "0"},
                              SizeCase{1048576, "1MB", "0", "1"}, SizeCase{5500000, "5MB", "0", "5"}}) {
        SetUp();
        CacheOf(c.bytes);
        form.LTime.SetText("0");
        form.Tm1.Tick();
        const std::string line = std::string("14:03:27 删除成功!已释放 ") + c.sizeText + " 空间.";
        EXPECT_EQ(form.Lb1.Text(), line);
        EXPECT_EQ(form.Tx1.Text(), line + "\r\n");
        EXPECT_EQ(form.Tx1.SelStart(), form.Tx1.Text().size());
        EXPECT_EQ(form.TKB.Text(), c.tkb) << c.bytes;
        EXPECT_EQ(form.TMB.Text(), c.tmb) << c.bytes;
        EXPECT_FALSE(h.fileSystems.roots.contains(kAliceCache)) << "the cache is deleted";
    }
}

TEST_F(Cycle, NoCacheFolderReportsItAndRewritesTheKilobyteTotal) {
    form.TKB.SetText("007");
    form.Tx1.SetText("old\r\n");
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), kNoCache);
    EXPECT_EQ(form.TKB.Text(), "7");
    EXPECT_EQ(form.Tx1.Text(), "old\r\n");
}

// A picture held open stays, with the folders that hold it; the rest goes, and only what went is counted.
TEST_F(Cycle, WhatCannotBeDeletedStaysAndOnlyWhatWentIsCounted) {
    FakeNode& cache = CacheOf(3 << 20);
    cache.folders["open"].files = {{"viewer.jpg", 2 << 20}, {"other.jpg", 1 << 20}};
    cache.folders["open"].heldFiles = {"viewer.jpg"};
    cache.folders["z"].files = {{"after.jpg", 1 << 20}};
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), kInUse);
    EXPECT_EQ(form.TMB.Text(), "5") << "7 MB measured, 2 MB left";
    EXPECT_EQ(form.Tx1.Text(), "");
    const FakeNode& left = h.fileSystems.roots[kAliceCache];
    EXPECT_TRUE(left.files.empty());
    EXPECT_FALSE(left.folders.contains("z")) << "the deletion went on past the held picture";
    EXPECT_EQ(left.folders.at("open").files, (std::vector<FileEntry>{{"viewer.jpg", 2 << 20}}));

    // While it is held, further cycles free nothing and count nothing.
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.TMB.Text(), "5");
    EXPECT_EQ(form.TKB.Text(), "0");
    // Once it is closed, it goes and is counted.
    h.fileSystems.roots[kAliceCache].folders["open"].heldFiles.clear();
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 2MB 空间.");
    EXPECT_EQ(form.TMB.Text(), "7");
}

TEST_F(Cycle, AFileSystemObjectThatCannotBeMadeEndsTheCycle) {
    h.fileSystems.failCreation = true;
    form.TDel.SetText("1");
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), kInUse);
    EXPECT_EQ(form.LTime.Text(), "60") << "the countdown was reloaded first";
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(Cycle, TheUsersFoldersAreAskedForOnceAtStart) {
    for (int cycle = 0; cycle < 3; ++cycle) {
        form.LTime.SetText("0");
        form.Tm1.Tick();
    }
    EXPECT_EQ(h.system.appDataAsked, 1);
}

TEST_F(Cycle, TheLogIsEmptiedOnThe99thAnd199thCycle) {
    form.TDel.SetText("0");
    form.LTime.SetText("0");
    for (int cycle = 1; cycle <= 199; ++cycle) {
        CacheOf(2048);
        const std::string before = form.Tx1.Text();
        form.Tm1.Tick();
        const size_t lines = static_cast<size_t>(std::count(form.Tx1.Text().begin(), form.Tx1.Text().end(), '\n'));
        if (cycle == 99 || cycle == 199) {
            EXPECT_EQ(lines, 1u) << cycle;
        } else {
            EXPECT_EQ(form.Tx1.Text().substr(0, before.size()), before) << cycle;
        }
        if (cycle == 98 || cycle == 198) {
            EXPECT_EQ(lines, cycle == 98 ? 98u : 100u);
        }
    }
}

TEST_F(Cycle, ATickWhileACycleRunsIsDropped) {
    CacheOf(2048);
    h.worker.hold = true;
    form.TDel.SetText("0");
    form.LTime.SetText("0");
    form.Tm1.Tick();
    form.Tm1.Tick();
    EXPECT_EQ(h.worker.started, 1);
    h.worker.RunHeld();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 2KB 空间.");
    form.Tm1.Tick();
    EXPECT_EQ(h.worker.started, 2) << "the next tick runs the next cycle";
}

// A box for a level that cannot be read holds up nothing: while it is open the cycles go on, and their boxes come
// one at a time, each once the last is closed.
TEST_F(Cycle, BoxesForUnreadableLevelsComeOneAtATimeWhileTheCyclesGoOn) {
    struct TickingMessages : RecordingMessages {
        Form1* form = nullptr;
        int open = 0;
        int mostOpen = 0;
        void Show(const std::string& text) override {
            RecordingMessages::Show(text);
            mostOpen = std::max(mostOpen, ++open);
            if (shown.size() == 1)
                form->Tm1.Tick();  // the timer ticks while the box is open: the next cycle runs
            --open;
        }
    };
    TickingMessages messages;
    Form1 ticking({h.fileSystems, h.settings, h.system, messages, h.window, h.tray, h.shortcuts, h.browser, h.worker},
                  h.dispatch);
    messages.form = &ticking;
    h.worker.news = [&] { ticking.model.RaiseFormEvent(FormEvent::WorkerNews); };
    ticking.model.RaiseFormEvent(FormEvent::Load);
    ticking.Tm1.SetEnabled(true);
    ticking.TDel.SetText("0");
    ticking.LTime.SetText("0");
    CacheOf(10).folders["x"].unopenable = true;
    ticking.Tm1.Tick();
    EXPECT_EQ(h.fileSystems.created, 2) << "the second cycle ran while the first box was open";
    const std::string unreadable = "无法读取文件夹：" + kAliceCache + "\\x";
    EXPECT_EQ(messages.shown, (std::vector<std::string>{unreadable, unreadable}));
    EXPECT_EQ(messages.mostOpen, 1);
}

// Only what the file system confirmed gone is counted: what another program holds is not, though it was measured,
// nor what its owner removed first; when every picture went the cycle succeeds, even where the cache folder stays.
TEST_F(Cycle, OnlyWhatTheDeletionConfirmedIsCounted) {
    FakeNode& cache = CacheOf(6 << 20);
    cache.folders["held"].files = {{"a.jpg", 2 << 20}};
    cache.folders["held"].heldWhileDeleting = true;
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), kInUse);
    EXPECT_EQ(form.TMB.Text(), "6") << "8 MB measured, the 2 MB held stayed";

    h.fileSystems.roots.erase(kAliceCache);
    FakeNode& again = CacheOf(3 << 20);
    again.files.push_back({"removed-by-the-client.jpg", 4 << 20});
    again.goneFiles = {"removed-by-the-client.jpg"};
    again.undeletable = true;  // the client holds the cache folder itself
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 3MB 空间.");
    EXPECT_EQ(form.TMB.Text(), "9");
}

// Sizes past 2 GiB are told and counted as they are, and the totals are stored as soon as a cycle has changed them.
TEST_F(Cycle, FourGigabytesAreToldCountedAndStoredAtOnce) {
    CacheOf(4LL << 30).folders["x"].files = {{"big", 1LL << 30}};
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 5120MB 空间.");
    EXPECT_EQ(form.TGB.Text() + "/" + form.TMB.Text(), "5/0");
    EXPECT_TRUE(h.messages.shown.empty());
    CacheOf(5 * 1024);
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(h.settings.writes.back(), "Cls/TKB=5") << "stored after the cycle, with no carry";
}

// A save that fails is told after the cycle's report; the next cycle saves what it held, though it changed nothing.
TEST_F(Cycle, AFailedSaveIsToldAfterTheReportAndTheNextCycleTriesAgain) {
    CacheOf(5 << 20);
    h.settings.failingSaves = 1;
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 5MB 空间. 设置未能保存！");
    EXPECT_FALSE(h.settings.values.contains("Cls/TMB"));
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), kNoCache);
    EXPECT_EQ(h.settings.values["Cls/TMB"], "5");
}

// Wake-ups lost on their way leave no cycle running for good: the next tick finds it ended and counts it once, and
// the cycles go on.
TEST_F(Cycle, ACycleWhoseWakeUpsAreLostEndsAtTheNextTick) {
    h.worker.loseWakeUps = true;
    form.TDel.SetText("1");
    CacheOf(4096);
    form.LTime.SetText("0");
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "") << "the end is not told yet";
    form.Tm1.Tick();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 4KB 空间.");
    EXPECT_EQ(form.LTime.Text(), "59") << "the tick counts down as well";
    CacheOf(2048);
    form.LTime.SetText("0");
    form.Tm1.Tick();
    form.Tm1.Tick();
    EXPECT_EQ(h.worker.started, 2);
    EXPECT_EQ(form.TKB.Text(), "6");
}

}  // namespace
}  // namespace zelmora::testing
