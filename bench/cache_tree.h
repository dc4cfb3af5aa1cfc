#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmora::bench {

// A picture-cache-like tree: hex-named folders two or three levels deep holding files of log-uniform sizes.
struct CacheTree {
    struct File {
        size_t folder;  // index into folders
        std::string name;
        int64_t size;
    };
    std::vector<std::string> folders;  // relative paths, parents before children; the root is ""
    std::vector<File> files;
    int64_t totalBytes = 0;
};

// The same arguments always give the same tree. Sizes are drawn from 1-200 KB, then multiplied by sizeScale.
CacheTree PlanCacheTree(int fileCount, double sizeScale, uint64_t seed);

// Makes the tree at root, which must not exist yet. Files are sparse: their length is set, no data written.
void MakeCacheTree(const CacheTree& tree, const std::string& root);

}  // namespace zelmora::bench
