// The hand-over between the cleaning's thread and the window's: a real thread runs the work, and this thread plays
// the window's, taking the worker's news as they come. make test runs these cases under ThreadSanitizer too.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "harness.h"

namespace zelmora::testing {
namespace {

using namespace std::chrono_literals;

// A thread of its own for the work; its news wait until the window's thread takes them.
class ThreadWorker : public Worker {
public:
    ~ThreadWorker() override { Join(); }
    void Start(std::function<void()> work) override {
        Join();
        ended_ = false;
        thread_ = std::thread([this, work = std::move(work)] {
            work();
            const std::lock_guard lock(mutex_);
            ended_ = true;
            arrived_.notify_all();
        });
    }
    bool WaitFor(uint32_t milliseconds) override {
        waits.push_back(milliseconds);
        if (!thread_.joinable())
            return true;
        {
            std::unique_lock lock(mutex_);
            if (!arrived_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return ended_; }))
                return false;
        }
        thread_.join();
        return true;
    }
    bool Notify() override {
        const std::lock_guard lock(mutex_);
        ++news_;
        arrived_.notify_all();
        return true;
    }
    std::vector<uint32_t> waits;  // the longest each wait was to take
    // The window's thread: waits for news, up to a while; whether any came.
    bool TakeNews(std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, wait, [&] { return news_ > 0; }))
            return false;
        news_ = 0;
        return true;
    }

private:
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    int news_ = 0;
    bool ended_ = false;
};

struct Handover : ::testing::Test {
    Harness h;
    ThreadWorker worker;
    Form1 form{{h.fileSystems, h.settings, h.system, h.messages, h.window, h.tray, h.shortcuts, h.browser, worker},
               h.dispatch};
    std::vector<std::string> statuses;

    void SetUp() override {
        form.model.RaiseFormEvent(FormEvent::Load);
        form.Tm1.SetEnabled(true);
        form.TKB.SetText("0");
        FakeNode& cache = h.fileSystems.AddRoot(kAliceCache);
        for (int folder = 0; folder < 40; ++folder) {
            FakeNode& pictures = cache.folders["f" + std::to_string(folder)];
            for (int file = 0; file < 50; ++file)
                pictures.files.push_back({"p" + std::to_string(file) + ".jpg", 1024});
        }
        h.fileSystems.pausePerFile = 1ms;  // 2,000 pictures: two seconds or more
    }
    void StartCycle() {
        form.LTime.SetText("0");
        form.Tm1.Tick();
    }
    // Takes the worker's news as the window's thread does, until the status line says how the cycle ended.
    void TakeNewsUntilTheEnd() {
        for (int news = 0; news < 1000 && !form.Lb1.Text().starts_with("14:03:27"); ++news) {
            if (worker.TakeNews(100ms))
                form.model.RaiseFormEvent(FormEvent::WorkerNews);
            if (statuses.empty() || statuses.back() != form.Lb1.Text())
                statuses.push_back(form.Lb1.Text());
        }
    }
};

TEST_F(Handover, TheWindowTicksAndTellsTheProgressWhileTheWorkerCleans) {
    StartCycle();
    EXPECT_EQ(form.Lb1.Text(), "") << "started, not ended";
    form.Tm1.Tick();  // dropped: the cycle runs
    TakeNewsUntilTheEnd();
    EXPECT_EQ(form.Lb1.Text(), "14:03:27 删除成功!已释放 1MB 空间.");
    EXPECT_EQ(form.TMB.Text() + "/" + form.TKB.Text(), "1/0") << "2,000 KB, told and counted in whole MB";
    EXPECT_EQ(form.List1.Items().size(), 41u);
    ASSERT_GE(statuses.size(), 2u);
    EXPECT_TRUE(statuses[statuses.size() - 2].starts_with("正在清理… 已删除 ")) << statuses[statuses.size() - 2];
    EXPECT_EQ(h.fileSystems.created, 1) << "the tick during the cycle was dropped";
}

// The unload stops the cycle at its next entry and counts what it freed until then, which is stored with the rest.
TEST_F(Handover, TheUnloadStopsTheCycleAndStoresWhatWent) {
    StartCycle();
    ASSERT_TRUE(worker.TakeNews(10s)) << "the first progress";
    form.model.RaiseFormEvent(FormEvent::Unload);
    int64_t left = 0;
    for (const auto& [name, folder] : h.fileSystems.roots[kAliceCache].folders)
        left += static_cast<int64_t>(folder.files.size());
    const int64_t deleted = 2000 - left;
    EXPECT_GT(left, 0) << "stopped before its end";
    EXPECT_EQ(h.settings.values["Cls/TMB"] + "/" + h.settings.values["Cls/TKB"],
              deleted >= 1024 ? "1/0" : "0/" + std::to_string(deleted))
        << deleted << " pictures of 1 KB went";
}

// The file system holds the worker (a folder that will not list, a drive that hangs): the unload waits for it two
// seconds at most, stores what went until then, and leaves it behind.
TEST_F(Handover, AnUnloadWhileTheFileSystemHoldsTheWorkerStoresWhatWentAndGoesOn) {
    std::atomic<int> opened = 0;
    std::atomic<bool> letGo = false;
    h.fileSystems.pausePerFile = 0ms;
    h.fileSystems.roots[kAliceCache].folders["f20"].whenOpened = [&] {
        if (++opened == 2)  // by the deletion, after the measurement
            while (!letGo)
                std::this_thread::sleep_for(1ms);
    };
    StartCycle();
    while (opened < 2)
        std::this_thread::sleep_for(1ms);
    form.model.RaiseFormEvent(FormEvent::Unload);
    EXPECT_EQ(worker.waits.back(), 2000u);
    const std::string stored = h.settings.values["Cls/TMB"] + "/" + h.settings.values["Cls/TKB"];
    letGo = true;
    worker.Join();
    int64_t left = 0;
    for (const auto& [name, folder] : h.fileSystems.roots[kAliceCache].folders)
        left += static_cast<int64_t>(folder.files.size());
    EXPECT_GT(left, 0);
    EXPECT_EQ(stored, "0/" + std::to_string(2000 - left)) << "each picture of 1 KB that went before the unload";
}

}  // namespace
}  // namespace zelmora::testing
