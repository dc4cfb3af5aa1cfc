#pragma once

#include <cstdint>
#include <string>

#include "engine/file_system.h"

namespace zelmora {

// Told by a measurement as it goes, on the thread it runs on.
class MeasurementProgress {
public:
    virtual ~MeasurementProgress() = default;
    // Asked before each folder: a measurement asked to stop ends there.
    virtual bool StopRequested() const = 0;
    // A folder measured, with its size in bytes. Folders come deepest first, each after the folders it holds.
    virtual void FolderMeasured(const std::string& path, int64_t bytes) = 0;
    // A folder whose files were counted, with how many.
    virtual void FilesCounted(int64_t files) = 0;
    // A level that could not be opened or listed, with its path: it counts 0, and the level above goes on.
    virtual void LevelUnreadable(const std::string& path) = 0;
};

// The bytes a folder tree holds: the lengths of its files, as the file system reports them. The walk tests at every
// level that the cache path still exists, and ends a level silently where it does not, or where the level itself
// is gone.
int64_t MeasureTree(FileSystem& fso, const std::string& cachePath, const std::string& top,
                    MeasurementProgress& progress);

}  // namespace zelmora
