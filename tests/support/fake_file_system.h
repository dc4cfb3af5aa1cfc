#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/cache_measurement.h"

// An in-memory file system with failures to inject, what a measurement or a deletion tells, and the platform's
// real file system.

namespace zelmora::testing {

// An in-memory folder tree with failures to inject. Paths use "\" and are matched whole.
struct FakeNode {
    std::map<std::string, FakeNode> folders;
    std::vector<FileEntry> files;
    std::set<std::string> heldFiles;  // open elsewhere: they cannot be deleted
    std::set<std::string> goneFiles;  // listed, but removed by their owner before the deletion reaches them
    bool unopenable = false;
    bool gone = false;                 // listed, but removed by its owner before it is opened
    std::function<void()> whenOpened;  // runs as the folder is opened, on the thread that opens it
    bool heldWhileDeleting = false;    // measured, but another program holds it once the deletion comes
    bool undeletable = false;          // removing this folder fails once it is empty
};

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(std::map<std::string, FakeNode>& roots,
                            std::chrono::microseconds pausePerFile = std::chrono::microseconds(0))
        : roots_(roots), pausePerFile_(pausePerFile) {}
    std::unique_ptr<Folder> GetFolder(const std::string& path) override;
    bool Exists(const std::string& path) override;
    Deletion DeleteFolder(const std::string& path, DeletionProgress& progress) override;

private:
    FakeNode* Find(const std::string& path);
    std::map<std::string, FakeNode>& roots_;  // keyed by full path
    std::chrono::microseconds pausePerFile_;  // each file takes this long to delete
};

// Records what a measurement or a deletion tells, and asks it to stop once it has measured so many folders or been
// asked before so many entries.
struct RecordingProgress : MeasurementProgress, DeletionProgress {
    bool StopRequested() const override {
        if (beforeEntry)
            std::exchange(beforeEntry, {})();
        return lines.size() >= stopAfterFolders || asked++ >= stopAfterEntries;
    }
    // Kept as the record keeps them ("...\\a 512Byte").
    void FolderMeasured(const std::string& path, int64_t bytes) override {
        lines.push_back(path + " " + std::to_string(bytes) + "Byte");
    }
    void FilesCounted(int64_t files) override { counted += files; }
    void LevelUnreadable(const std::string& path) override { unreadable.push_back(path); }
    void FileDeleted(int64_t length) override {
        deleted.push_back(length);
        if (afterFirstDeletion)
            std::exchange(afterFirstDeletion, {})();
    }
    int64_t Freed() const;

    std::vector<std::string> lines;
    int64_t counted = 0;
    std::vector<std::string> unreadable;  // the paths of the levels that could not be read
    std::vector<int64_t> deleted;         // the lengths of the files deleted, in order
    size_t stopAfterFolders = SIZE_MAX;
    size_t stopAfterEntries = SIZE_MAX;
    mutable size_t asked = 0;
    mutable std::function<void()> beforeEntry;  // runs once, as the walk asks before its first entry
    std::function<void()> afterFirstDeletion;   // runs once, as the first deleted file is told
};

class FakeFileSystemFactory : public FileSystemFactory {
public:
    std::unique_ptr<FileSystem> Create() override;
    FakeNode& AddRoot(const std::string& path) { return roots[path]; }

    std::map<std::string, FakeNode> roots;
    int created = 0;
    bool failCreation = false;
    std::chrono::microseconds pausePerFile{0};
};

inline const std::string kAliceCache = "C:\\Documents and Settings\\alice\\Application Data\\sina\\weibo\\cache";

// The file-system provider of the platform the tests run on.
std::unique_ptr<FileSystemFactory> MakeRealFileSystems();

}  // namespace zelmora::testing
