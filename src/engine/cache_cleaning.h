#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "base/recent_lines.h"
#include "base/system.h"
#include "engine/cache_measurement.h"
#include "engine/cache_path.h"
#include "engine/file_system.h"
#include "engine/worker.h"

namespace zelmora {

// What one cleaning of the cache found and did.
struct CleaningReport {
    bool cacheFound = false;
    bool picturesGone = false;  // everything the cache held went (the cache folder itself may stay)
    bool failed = false;        // a failure ended it: the file-system object, the cache folder that would not open
    int64_t freed = 0;          // the bytes of the files that went
    std::deque<std::string> folderLines;        // the measurement's record, the latest lines (RecentLines)
    std::vector<std::string> unreadableLevels;  // the paths of the levels the measurement could not read
};

// How far a running cleaning has come.
struct CleaningProgress {
    int32_t filesCounted = 0;  // by the measurement
    int32_t filesDeleted = 0;  // deleting has begun once there is one
};

// What a cleaning on the worker thread and the window's thread share while it runs. The worker tells how far it
// has come and, at its end, its report; the window's thread reads them and may ask it to stop. The worker wakes
// the window's thread (Worker::Notify) at its end and, once it has run a second, at most four times a second; never
// while a wake-up is still to be taken, so no tree can fill the window's queue.
class CleaningHandOver : public MeasurementProgress, public DeletionProgress {
public:
    // The record's line for a measured folder, made on the worker's thread.
    using RecordLine = std::string (*)(const std::string& path, int64_t bytes);

    // For a cleaning of the cache in the user's folders given.
    CleaningHandOver(const UserFolders& folders, Worker& worker, System& clock, RecordLine recordLine);

    const UserFolders& Folders() const { return folders_; }

    // The worker's side.
    bool StopRequested() const override;
    void FolderMeasured(const std::string& path, int64_t bytes) override;
    void FilesCounted(int64_t files) override;
    void LevelUnreadable(const std::string& path) override;
    void FileDeleted(int64_t length) override;
    void End(CleaningReport report);

    // The window's side. A wake-up is taken before what it tells is read, so the next one can come.
    void TakeWakeUp();
    void Stop();
    bool Ended() const;
    CleaningProgress Progress() const;
    // The bytes of the files confirmed gone so far.
    int64_t Freed() const;
    // Whether the cleaning has run long enough for its progress to be shown.
    bool ShowsProgress() const;
    // Once ended: the report, with what went and the measurement's record.
    CleaningReport TakeReport();

private:
    void NotifyNowAndThen();
    void Wake();

    const UserFolders folders_;
    Worker& worker_;
    System& clock_;
    const RecordLine recordLine_;
    const uint32_t start_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
    std::atomic<bool> wakeUpPending_{false};
    // 32-bit counts: a 64-bit atomic takes a loop of compare-exchanges on a 32-bit processor, paid for the freed
    // bytes alone, which the window's thread reads when the cleaning cannot end in time.
    std::atomic<int32_t> filesCounted_{0};
    std::atomic<int32_t> filesDeleted_{0};
    std::atomic<int64_t> freed_{0};
    // The worker's alone until ended_, then the window's.
    uint32_t lastNotified_;
    RecentLines folderLines_;
    std::vector<std::string> unreadableLevels_;
    CleaningReport report_;
};

// The cleaning cycle's file work, for the worker thread: finds the cache, measures it, deletes what it can of
// it, and ends the hand-over with its report. Any failure ends the cleaning with what went so far.
void CleanCache(FileSystemFactory& fileSystems, CleaningHandOver& handOver);

}  // namespace zelmora
