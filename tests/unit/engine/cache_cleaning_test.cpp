#include <gtest/gtest.h>

#include "engine/cache_cleaning.h"
#include "fake_system.h"

namespace zelmora::testing {
namespace {

// Counts its wake-ups, which may fail to be sent.
struct CountingWorker : Worker {
    void Start(std::function<void()>) override {}
    bool WaitFor(uint32_t) override { return true; }
    bool Notify() override {
        ++sent;
        return arrives;
    }
    int sent = 0;
    bool arrives = true;
};

struct SteppedClock : FakeSystem {
    uint32_t Milliseconds() override { return now; }
    uint32_t now = 0;
};

// One wake-up at a time, however many files go: the next comes once the window has taken it, or where it could not
// be sent.
TEST(CleaningHandOver, OneWakeUpIsPendingAtATimeAndOneNotSentIsTriedAgain) {
    CountingWorker worker;
    SteppedClock clock;
    CleaningHandOver handOver(UserFolders{}, worker, clock, [](const std::string& path, int64_t) { return path; });
    const auto deleteAFileLater = [&] {
        clock.now += 300;
        handOver.FileDeleted(1);
    };
    for (int file = 0; file < 1000; ++file)
        deleteAFileLater();
    EXPECT_EQ(worker.sent, 1);
    handOver.TakeWakeUp();
    deleteAFileLater();
    EXPECT_EQ(worker.sent, 2);

    handOver.TakeWakeUp();
    worker.arrives = false;
    deleteAFileLater();
    deleteAFileLater();
    EXPECT_EQ(worker.sent, 4);
    worker.arrives = true;
    handOver.End({});
    EXPECT_EQ(worker.sent, 5) << "the end wakes the window";
    EXPECT_EQ(handOver.TakeReport().freed, 1003);
}

}  // namespace
}  // namespace zelmora::testing
