#include "engine/cache_cleaning.h"

#include <memory>

namespace zelmora {

namespace {

constexpr uint32_t kQuietMs = 1000;   // no progress is told before the cleaning has run this long
constexpr uint32_t kBetweenMs = 250;  // nor more often than this

}  // namespace

CleaningHandOver::CleaningHandOver(const UserFolders& folders, Worker& worker, System& clock, RecordLine recordLine)
    : folders_(folders),
      worker_(worker),
      clock_(clock),
      recordLine_(recordLine),
      start_(clock.Milliseconds()),
      lastNotified_(start_) {}

bool CleaningHandOver::StopRequested() const {
    return stop_.load(std::memory_order_relaxed);
}

void CleaningHandOver::FolderMeasured(const std::string& path, int64_t bytes) {
    folderLines_.Add(recordLine_(path, bytes));
}

void CleaningHandOver::FilesCounted(int64_t files) {
    filesCounted_.fetch_add(static_cast<int32_t>(files), std::memory_order_relaxed);
    NotifyNowAndThen();
}

void CleaningHandOver::LevelUnreadable(const std::string& path) {
    unreadableLevels_.push_back(path);
}

void CleaningHandOver::FileDeleted(int64_t length) {
    freed_.fetch_add(length, std::memory_order_relaxed);
    filesDeleted_.fetch_add(1, std::memory_order_relaxed);
    NotifyNowAndThen();
}

// The first wake-up comes once the cleaning has run kQuietMs; a difference of counts holds across their wrap.
void CleaningHandOver::NotifyNowAndThen() {
    const uint32_t now = clock_.Milliseconds();
    if (now - lastNotified_ < kBetweenMs || now - start_ < kQuietMs)
        return;
    lastNotified_ = now;
    Wake();
}

// One wake-up at a time: the next comes once the window's thread has taken this one. One that could not be sent is
// not pending, so the next tries again.
void CleaningHandOver::Wake() {
    if (!wakeUpPending_.exchange(true, std::memory_order_acq_rel) && !worker_.Notify())
        wakeUpPending_.store(false, std::memory_order_release);
}

// Everything the worker wrote before ending is the window's once it sees the end.
void CleaningHandOver::End(CleaningReport report) {
    report.freed = Freed();
    report.folderLines = folderLines_.Take();
    report.unreadableLevels = std::move(unreadableLevels_);
    report_ = std::move(report);
    ended_.store(true, std::memory_order_release);
    Wake();
}

void CleaningHandOver::TakeWakeUp() {
    wakeUpPending_.store(false, std::memory_order_release);
}

void CleaningHandOver::Stop() {
    stop_.store(true, std::memory_order_relaxed);
}

bool CleaningHandOver::Ended() const {
    return ended_.load(std::memory_order_acquire);
}

CleaningProgress CleaningHandOver::Progress() const {
    return {filesCounted_.load(std::memory_order_relaxed), filesDeleted_.load(std::memory_order_relaxed)};
}

int64_t CleaningHandOver::Freed() const {
    return freed_.load(std::memory_order_relaxed);
}

bool CleaningHandOver::ShowsProgress() const {
    return clock_.Milliseconds() - start_ >= kQuietMs;
}

CleaningReport CleaningHandOver::TakeReport() {
    return std::move(report_);
}

void CleanCache(FileSystemFactory& fileSystems, CleaningHandOver& handOver) {
    CleaningReport report;
    try {
        const std::unique_ptr<FileSystem> fso = fileSystems.Create();
        const std::string cachePath = CachePath(*fso, handOver.Folders());
        MeasureTree(*fso, cachePath, cachePath, handOver);
        report.cacheFound = fso->Exists(cachePath);
        if (report.cacheFound && !handOver.StopRequested())
            report.picturesGone = fso->DeleteFolder(cachePath, handOver).contentsGone;
    } catch (const EntryGone&) {
        report.picturesGone = true;  // the client removed its cache itself
    } catch (...) {
        report.failed = true;
    }
    handOver.End(std::move(report));
}

}  // namespace zelmora
