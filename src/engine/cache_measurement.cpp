#include "engine/cache_measurement.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "base/number_text.h"

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
};

// Depth-first, files before subfolders, with a stack of its own, so no depth of folders can exhaust the thread's.
// Each folder is opened relative to the one above it, so a folder swapped for a link while the walk runs is refused
// rather than followed. A failure at a level (a folder that cannot be opened or listed, a sum past the largest)
// ends that level: it counts 0, and the level above goes on. A level gone meanwhile (the client pruning its cache)
// counts 0 too, and is not told.
class TreeMeasurement {
public:
    TreeMeasurement(FileSystem& fso, const std::string& cachePath, MeasurementProgress& progress)
        : fso_(fso), cachePath_(cachePath), progress_(progress) {}

    int64_t Run(const std::string& top) {
        path_ = top;
        Enter(kTop);
        while (!levels_.empty() && !progress_.StopRequested()) {
            Level& level = levels_.back();
            path_.resize(level.pathLength);
            if (level.nextSubFolder < level.folder->SubFolders().size()) {
                path_ += '\\';
                path_ += level.folder->SubFolders()[level.nextSubFolder];
                Enter(level.nextSubFolder++);
                continue;
            }
            const int64_t result = level.total;
            progress_.FolderMeasured(path_, result);
            levels_.pop_back();
            Deliver(result);
        }
        return tree_;
    }

private:
    static constexpr size_t kTop = SIZE_MAX;

    // Opens the level at the end of the path: the top, or the subfolder at that place of the deepest level's.
    void Enter(size_t subFolder) {
        try {
            if (!fso_.Exists(cachePath_))
                return Deliver(0);
            std::unique_ptr<Folder> folder =
                subFolder == kTop ? fso_.GetFolder(path_) : levels_.back().folder->OpenSubFolder(subFolder);
            int64_t total = 0;
            for (const FileEntry& file : folder->Files()) {
                if (!Adds(total, file.length))
                    throw FileSystemError("a size past the largest sum in " + path_);
                total += file.length;
            }
            progress_.FilesCounted(static_cast<int64_t>(folder->Files().size()));
            levels_.push_back({std::move(folder), total, path_.size()});
        } catch (const EntryGone&) {
            Deliver(0);
        } catch (...) {
            progress_.LevelUnreadable(path_);
            Deliver(0);
        }
    }

    // A level's result goes into the level above it; one that would take that level past the largest sum fails
    // it, and a failed level adds nothing further up.
    void Deliver(int64_t result) {
        if (levels_.empty()) {
            tree_ = result;
        } else if (Adds(levels_.back().total, result)) {
            levels_.back().total += result;
        } else {
            progress_.LevelUnreadable(path_.substr(0, levels_.back().pathLength));
            levels_.pop_back();
        }
    }

    FileSystem& fso_;
    const std::string& cachePath_;
    MeasurementProgress& progress_;
    std::vector<Level> levels_;
    std::string path_;
    int64_t tree_ = 0;
};

}  // namespace

int64_t MeasureTree(FileSystem& fso, const std::string& cachePath, const std::string& top,
                    MeasurementProgress& progress) {
    return TreeMeasurement(fso, cachePath, progress).Run(top);
}

}  // namespace zelmora
