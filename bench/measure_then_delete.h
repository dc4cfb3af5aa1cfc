#pragma once

#include <cstdint>
#include <string>

#include "engine/file_system.h"

namespace zelmora::bench {

struct Pass {
    int32_t bytes;   // what the measurement found
    double seconds;  // measuring and deleting together
};

// The cleaning cycle's work on one cache folder, timed: Form1::FolderlenRec measures it through a fresh
// file-system object, which then deletes the folder. Throws if the walk reported a failure or the folder is
// still there afterwards.
Pass MeasureThenDelete(FileSystemFactory& fileSystems, const std::string& path);

}  // namespace zelmora::bench
