#include "engine/cache_measurement.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "engine/folder_walk.h"

namespace zelmora {

namespace {

constexpr int64_t kLargestSum = std::numeric_limits<int64_t>::max();

bool Adds(int64_t sum, int64_t more) {
    return more >= 0 && sum <= kLargestSum - more;
}

// A folder of the walk, open, with the sum of its files and of the subfolders measured so far.
struct Level {
    std::unique_ptr<Folder> folder;
    int64_t total;
    size_t pathLength;  // of its path, which the walk keeps for the deepest level open
    size_t nextSubFolder = 0;
    bool failed = false;  // a sum past the largest: the level ends, and counts 0
};

// Depth-first, files before subfolders (WalkDepthFirst). Each folder is opened relative to the one above it, so a
// folder swapped for a link while the walk runs is refused rather than followed. A failure at a level (a folder
// that cannot be opened or listed, a sum past the largest) ends that level: it counts 0, and the level above goes
// on. A level gone meanwhile (the client pruning its cache) counts 0 too, and is not told.
class TreeMeasurement {
public:
    TreeMeasurement(FileSystem& fso, const std::string& cachePath, MeasurementProgress& progress)
        : fso_(fso), cachePath_(cachePath), progress_(progress) {}

    int64_t Run(const std::string& top) {
        path_ = top;
        std::optional<Level> level = Enter([&] { return fso_.GetFolder(path_); });
        if (!level)
            return 0;
        const Level measured = WalkDepthFirst(std::move(*level), *this);
        return Measured(measured) ? measured.total : 0;
    }

    bool Done(const Level& level) {
        stopped_ = stopped_ || level.failed ||
                   (level.nextSubFolder < level.folder->SubFolders().size() && progress_.StopRequested());
        return stopped_ || level.failed || level.nextSubFolder == level.folder->SubFolders().size();
    }

    std::optional<Level> Next(Level& level) {
        path_.resize(level.pathLength);
        path_ += '\\';
        path_ += level.folder->SubFolders()[level.nextSubFolder];
        const size_t index = level.nextSubFolder++;
        return Enter([&] { return level.folder->OpenSubFolder(index); });
    }

    // A level's sum goes into the level above it; one that would take that level past the largest sum fails it.
    void Leave(const Level& done, Level& holder) {
        if (!Measured(done))
            return;
        if (Adds(holder.total, done.total)) {
            holder.total += done.total;
        } else {
            holder.failed = true;
            progress_.LevelUnreadable(path_.substr(0, holder.pathLength));
        }
    }

private:
    // Opens the level at the end of the path, and sums its files.
    template <typename Open>
    std::optional<Level> Enter(const Open& open) {
        try {
            if (!fso_.Exists(cachePath_))
                return std::nullopt;
            std::unique_ptr<Folder> folder = open();
            int64_t total = 0;
            for (const FileEntry& file : folder->Files()) {
                if (!Adds(total, file.length))
                    throw FileSystemError("a size past the largest sum in " + path_);
                total += file.length;
            }
            progress_.FilesCounted(static_cast<int64_t>(folder->Files().size()));
            return Level{std::move(folder), total, path_.size()};
        } catch (const EntryGone&) {
        } catch (...) {
            progress_.LevelUnreadable(path_);
        }
        return std::nullopt;
    }

    // Whether a level walked counts: it neither failed nor was cut short; it is recorded as it does.
    bool Measured(const Level& level) {
        if (level.failed || stopped_)
            return false;
        path_.resize(level.pathLength);
        progress_.FolderMeasured(path_, level.total);
        return true;
    }

    FileSystem& fso_;
    const std::string& cachePath_;
    MeasurementProgress& progress_;
    std::string path_;
    bool stopped_ = false;
};

}  // namespace

int64_t MeasureTree(FileSystem& fso, const std::string& cachePath, const std::string& top,
                    MeasurementProgress& progress) {
    return TreeMeasurement(fso, cachePath, progress).Run(top);
}

}  // namespace zelmora
