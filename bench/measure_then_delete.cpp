#include "measure_then_delete.h"

#include <chrono>
#include <stdexcept>

#include "engine/cache_measurement.h"

namespace zelmora::bench {

namespace {

class Tally : public MeasurementProgress, public DeletionProgress {
public:
    bool StopRequested() const override { return false; }
    void FolderMeasured(const std::string&, int64_t) override {}
    void FilesCounted(int64_t) override {}
    void LevelUnreadable(const std::string&) override { ++unreadable; }
    void FileDeleted(int64_t length) override { freed += length; }

    int unreadable = 0;
    int64_t freed = 0;
};

}  // namespace

Pass MeasureThenDelete(FileSystemFactory& fileSystems, const std::string& path) {
    Tally tally;
    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<FileSystem> fso = fileSystems.Create();
    const int64_t bytes = MeasureTree(*fso, path, path, tally);
    const Deletion deletion = fso->DeleteFolder(path, tally);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    if (tally.unreadable)
        throw std::runtime_error("measuring " + path + " failed at " + std::to_string(tally.unreadable) + " levels");
    if (!deletion.folderGone || tally.freed != bytes || fileSystems.Create()->Exists(path))
        throw std::runtime_error(path + " was not deleted whole");
    return {bytes, elapsed.count()};
}

}  // namespace zelmora::bench
