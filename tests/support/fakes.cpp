#include "fakes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

#include <atomic>
#include <chrono>
#include <fstream>
#include <numeric>
#include <sstream>
#include <thread>
#include <utility>

namespace zelmora::testing {

namespace {

class FakeFolder : public Folder {
public:
    FakeFolder(FakeNode& node, std::string path) : node_(node), path_(std::move(path)) {
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

// The window's thread waits for the work to end; news it sent meanwhile find the cycle taken.
void FakeWorker::Join() {
    if (held_)
        std::exchange(held_, {})();
    newsPending_ = false;
}

void FakeWorker::Start(std::function<void()> work) {
    ++started;
    if (hold)
        held_ = std::move(work);
    else
        Run(std::move(work));
}

void FakeWorker::RunHeld() {
    Run(std::exchange(held_, {}));
}

void FakeWorker::Run(std::function<void()> work) {
    work();
    if (std::exchange(newsPending_, false) && news)
        news();
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

std::string RecordingSettings::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& file) {
    path = file;
    auto found = values.find(section + "/" + key);
    return found == values.end() ? defaultValue : found->second;
}

bool RecordingSettings::Write(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& file) {
    path = file;
    if (unwritable.contains(path))
        return false;
    values[section + "/" + key] = value;
    writes.push_back(section + "/" + key + "=" + value);
    return true;
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("zelmora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Text(const std::string& relative) const {
    const std::u8string base = path_.u8string();
    std::string text(base.begin(), base.end());
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    return relative.empty() ? text : text + separator + relative;
}

void MakeFile(const std::filesystem::path& path, uintmax_t size) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).put('x');
    std::filesystem::resize_file(path, size);
}

namespace {

#ifdef _WIN32
DWORD WINAPI RunWork(void* work) {
#else
void* RunWork(void* work) {
#endif
    (*static_cast<const std::function<void()>*>(work))();
    return {};
}

}  // namespace

void RunWithStack(size_t bytes, const std::function<void()>& work) {
    void* argument = const_cast<std::function<void()>*>(&work);
#ifdef _WIN32
    const HANDLE thread = CreateThread(nullptr, bytes, RunWork, argument, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        throw std::runtime_error("cannot start a thread");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
#else
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, bytes);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, RunWork, argument);
    pthread_attr_destroy(&attributes);
    if (started != 0)
        throw std::runtime_error("cannot start a thread");
    pthread_join(thread, nullptr);
#endif
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace zelmora::testing

#ifdef _WIN32
#include "engine/win32_file_system.h"
#else
#include "engine/posix_file_system.h"
#endif

namespace zelmora::testing {

std::unique_ptr<FileSystemFactory> MakeRealFileSystems() {
#ifdef _WIN32
    return std::make_unique<Win32FileSystemFactory>();
#else
    return std::make_unique<PosixFileSystemFactory>("/nonexistent-drive");
#endif
}

}  // namespace zelmora::testing
