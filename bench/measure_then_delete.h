#pragma once

#include <cstdint>
#include <string>

#include "engine/file_system.h"

namespace zelmora::bench {

struct Pass {
    int64_t bytes;   // what the measurement found
    double seconds;  // measuring and deleting together
};

// The cleaning cycle's work on one cache folder, timed, without the window: the measurement walks it through a
// fresh file-system object, which then deletes the folder. Throws if a level could not be read, not everything
// went or the folder is still there afterwards.
Pass MeasureThenDelete(FileSystemFactory& fileSystems, const std::string& path);

}  // namespace zelmora::bench
