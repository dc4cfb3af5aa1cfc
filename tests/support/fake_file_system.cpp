#include "fake_file_system.h"

#include <numeric>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include "engine/win32_file_system.h"
#else
#include "engine/posix_file_system.h"
#endif

namespace zelmora::testing {

namespace {

class FakeFolder : public Folder {
public:
    FakeFolder(FakeNode& node, std::string path) : node_(node), path_(std::move(path)) {
        if (node.whenOpened)
            node.whenOpened();
        if (node.gone)
            throw EntryGone("gone: " + path_);
        if (node.unopenable)
            throw FileSystemError("cannot open " + path_);
        for (const auto& [name, sub] : node.folders)
            subFolders_.push_back(name);
    }
    const std::vector<FileEntry>& Files() const override { return node_.files; }
    const std::vector<std::string>& SubFolders() const override { return subFolders_; }
    std::unique_ptr<Folder> OpenSubFolder(size_t index) const override {
        const std::string& name = subFolders_.at(index);
        auto found = node_.folders.find(name);
        if (found == node_.folders.end())
            throw FileSystemError("no folder " + name);
        return std::make_unique<FakeFolder>(found->second, path_ + "\\" + name);
    }

private:
    FakeNode& node_;
    std::string path_;
    std::vector<std::string> subFolders_;
};

// Deletes what a folder holds that can go, files first, and keeps what cannot, with the folders that hold it;
// whether everything went.
bool DeleteContents(FakeNode& node, DeletionProgress& progress, std::chrono::microseconds pausePerFile) {
    if (node.gone)
        return true;
    if (node.whenOpened)
        node.whenOpened();
    if (node.heldWhileDeleting || node.unopenable)
        return false;
    bool went = true;
    for (auto file = node.files.begin(); file != node.files.end();) {
        if (progress.StopRequested())
            return false;
        if (node.heldFiles.contains(file->name)) {
            went = false;
            ++file;
            continue;
        }
        std::this_thread::sleep_for(pausePerFile);
        if (!node.goneFiles.contains(file->name))
            progress.FileDeleted(file->length);
        file = node.files.erase(file);
    }
    for (auto folder = node.folders.begin(); folder != node.folders.end();) {
        if (progress.StopRequested())
            return false;
        if (DeleteContents(folder->second, progress, pausePerFile) && !folder->second.undeletable) {
            folder = node.folders.erase(folder);
        } else {
            went = false;
            ++folder;
        }
    }
    return went;
}

}  // namespace

FakeNode* FakeFileSystem::Find(const std::string& path) {
    for (auto& [rootPath, root] : roots_) {
        if (path == rootPath)
            return &root;
        if (path.rfind(rootPath + "\\", 0) != 0)
            continue;
        FakeNode* node = &root;
        size_t start = rootPath.size() + 1;
        while (node && start <= path.size()) {
            const size_t end = std::min(path.find('\\', start), path.size());
            auto found = node->folders.find(path.substr(start, end - start));
            node = found == node->folders.end() ? nullptr : &found->second;
            start = end + 1;
        }
        return node;
    }
    return nullptr;
}

std::unique_ptr<Folder> FakeFileSystem::GetFolder(const std::string& path) {
    FakeNode* node = Find(path);
    if (!node)
        throw FileSystemError("no folder " + path);
    return std::make_unique<FakeFolder>(*node, path);
}

bool FakeFileSystem::Exists(const std::string& path) {
    return Find(path) != nullptr;
}

Deletion FakeFileSystem::DeleteFolder(const std::string& path, DeletionProgress& progress) {
    auto root = roots_.find(path);
    if (root == roots_.end())
        throw FileSystemError("only whole roots are deleted: " + path);
    Deletion done;
    done.contentsGone = DeleteContents(root->second, progress, pausePerFile_);
    done.folderGone = done.contentsGone && !root->second.undeletable;
    if (done.folderGone)
        roots_.erase(root);
    return done;
}

int64_t RecordingProgress::Freed() const {
    return std::accumulate(deleted.begin(), deleted.end(), int64_t{0});
}

std::unique_ptr<FileSystem> FakeFileSystemFactory::Create() {
    if (failCreation)
        throw std::runtime_error("cannot create the file-system object");
    ++created;
    return std::make_unique<FakeFileSystem>(roots, pausePerFile);
}

std::unique_ptr<FileSystemFactory> MakeRealFileSystems() {
#ifdef _WIN32
    return std::make_unique<Win32FileSystemFactory>();
#else
    return std::make_unique<PosixFileSystemFactory>("/nonexistent-drive");
#endif
}

}  // namespace zelmora::testing
