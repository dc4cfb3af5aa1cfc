#include <limits>
#include <string>
#include <vector>

#include "base/failure.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

constexpr int64_t kLargestSum = std::numeric_limits<int32_t>::max();

// A folder of the walk, open, with the sum of its files and of the subfolders measured so far.
struct Level {
    std::unique_ptr<Folder> folder;
    int32_t total;
    size_t pathLength;  // of its path, which the walk keeps for the deepest level open
    size_t nextSubFolder = 0;
};

// Measures a tree depth-first, files before subfolders, with a stack of its own, so no depth of folders can
// exhaust the program's. Each folder is opened relative to the one above it, so a folder swapped for a link
// while the walk runs is refused rather than followed. Any failure at a level (the cache path gone, a folder
// that cannot be opened or listed, a sum past 2,147,483,647 bytes) ends that level: it counts 0 and the level
// above goes on. Where a list is given, every level that ends well adds its line to it, deepest first; where
// message boxes are, every other shows one, but for the cache path gone, which ends a level silently.
int32_t MeasureTree(FileSystem& fso, const std::string& cachePath, const std::string& top, Control* list,
                    MessageBoxes* messages) {
    const auto failed = [&] {
        if (messages)
            messages->Show("文件大于2G！");
    };
    std::vector<Level> levels;
    std::string path = top;
    int32_t tree = 0;
    // A level's result goes into the level above it; one that would take that level past the largest sum
    // fails it, and a failed level adds nothing further up.
    const auto deliver = [&](int32_t result) {
        if (levels.empty()) {
            tree = result;
            return;
        }
        const int64_t sum = int64_t{levels.back().total} + result;
        if (sum <= kLargestSum) {
            levels.back().total = static_cast<int32_t>(sum);
            return;
        }
        failed();
        levels.pop_back();
    };
    // Opens the level at the end of the path (the subfolder of that name, below the top).
    const auto enter = [&](const std::string& name) {
        try {
            if (!fso.Exists(cachePath))
                return deliver(0);
            std::unique_ptr<Folder> folder =
                levels.empty() ? fso.GetFolder(path) : levels.back().folder->OpenSubFolder(name);
            int64_t total = 0;
            for (const FileEntry& file : folder->Files()) {
                total += file.length;
                if (file.length < 0 || total > kLargestSum)
                    throw Failure("size past 2,147,483,647 bytes");
            }
            levels.push_back({std::move(folder), static_cast<int32_t>(total), path.size()});
        } catch (...) {
            failed();
            deliver(0);
        }
    };

    enter(top);
    while (!levels.empty()) {
        Level& level = levels.back();
        path.resize(level.pathLength);
        if (level.nextSubFolder < level.folder->SubFolders().size()) {
            const std::string& name = level.folder->SubFolders()[level.nextSubFolder++];
            path += '\\';
            path += name;
            enter(name);
            continue;
        }
        int32_t result = level.total;
        try {
            if (list)
                list->AddItem(path + (result < 0 ? "" : " ") + std::to_string(result) + "Byte");
        } catch (...) {
            failed();
            result = 0;
        }
        levels.pop_back();
        deliver(result);
    }
    return tree;
}

}  // namespace

int32_t Form1::FolderlenRec(FileSystem& fso, const std::string& cachePath, const std::string& path) {
    return MeasureTree(fso, cachePath, path, &List1, &services_.messages);
}

// What a deletion left of the cache, measured as the cycle measured it, without a record or a message.
int32_t Form1::SizeLeft(FileSystem& fso, const std::string& cachePath) {
    return MeasureTree(fso, cachePath, cachePath, nullptr, nullptr);
}

}  // namespace zelmora
