#include "cache_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace zelmora::bench {

namespace {

constexpr int kTopFolders = 12;
constexpr int kSecondLevelEach = 8;
constexpr uint64_t kMaxThirdLevelEach = 4;  // 0 to 4 under each second-level folder: about 300 folders in all
constexpr double kMinBytes = 1024;
constexpr double kMaxBytes = 200 * 1024;

std::string Hex(uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(static_cast<size_t>(digits), '0');
    for (size_t i = text.size(); i-- > 0; value >>= 4)
        text[i] = kDigits[value & 15];
    return text;
}

// A bijective mix of a 64-bit value, so distinct file numbers give distinct names.
uint64_t Mix(uint64_t value) {
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

CacheTree PlanCacheTree(int fileCount, double sizeScale, uint64_t seed) {
    std::mt19937_64 random(seed);
    CacheTree tree;
    tree.folders.push_back("");
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topPath = Hex(static_cast<uint64_t>(top), 2);
        tree.folders.push_back(topPath);
        for (int second = 0; second < kSecondLevelEach; ++second) {
            const std::string secondPath = topPath + "/" + Hex(static_cast<uint64_t>(second), 2);
            tree.folders.push_back(secondPath);
            const uint64_t thirdCount = random() % (kMaxThirdLevelEach + 1);
            for (uint64_t third = 0; third < thirdCount; ++third)
                tree.folders.push_back(secondPath + "/" + Hex(third, 2));
        }
    }
    const double logMin = std::log(kMinBytes);
    const double logSpan = std::log(kMaxBytes) - logMin;
    for (int i = 0; i < fileCount; ++i) {
        const double unit = static_cast<double>(random() >> 11) * 0x1.0p-53;
        const auto size = std::max<int64_t>(1, std::llround(std::exp(logMin + unit * logSpan) * sizeScale));
        const size_t folder = static_cast<size_t>(random() % tree.folders.size());
        tree.files.push_back({folder, Hex(Mix(seed + static_cast<uint64_t>(i)), 16) + ".jpg", size});
        tree.totalBytes += size;
    }
    return tree;
}

void MakeCacheTree(const CacheTree& tree, const std::string& root) {
    std::vector<std::string> folderPaths;
    for (const std::string& folder : tree.folders) {
        folderPaths.push_back(folder.empty() ? root : root + "/" + folder);
        if (mkdir(folderPaths.back().c_str(), 0755) != 0)
            Fail("cannot make", folderPaths.back());
    }
    for (const CacheTree::File& file : tree.files) {
        const std::string path = folderPaths[file.folder] + "/" + file.name;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            Fail("cannot make", path);
        const bool sized = ftruncate(fd, file.size) == 0;
        close(fd);
        if (!sized)
            Fail("cannot size", path);
    }
}

}  // namespace zelmora::bench
