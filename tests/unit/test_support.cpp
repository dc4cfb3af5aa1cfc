#include "test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

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
    std::unique_ptr<Folder> OpenSubFolder(const std::string& name) const override {
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

void DeleteNode(FakeNode& node, const std::string& path) {
    node.files.clear();
    for (auto it = node.folders.begin(); it != node.folders.end();) {
        DeleteNode(it->second, path + "\\" + it->first);
        it = node.folders.erase(it);
    }
    if (node.undeletable)
        throw FileSystemError("cannot delete " + path);
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

void FakeFileSystem::DeleteFolder(const std::string& path) {
    auto root = roots_.find(path);
    if (root == roots_.end())
        throw FileSystemError("only whole roots are deleted: " + path);
    DeleteNode(root->second, path);
    roots_.erase(root);
}

std::unique_ptr<FileSystem> FakeFileSystemFactory::Create() {
    if (failCreation)
        throw std::runtime_error("cannot create the file-system object");
    ++created;
    return std::make_unique<FakeFileSystem>(roots);
}

std::string RecordingSettings::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string&) {
    auto found = values.find(section + "/" + key);
    return found == values.end() ? defaultValue : found->second;
}

bool RecordingSettings::Write(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& path) {
    if (unwritable.contains(path))
        return false;
    values[section + "/" + key] = value;
    writes.push_back(section + "/" + key + "=" + value);
    return true;
}

Harness::Harness(FileSystemFactory* otherFileSystems)
    : form({otherFileSystems ? *otherFileSystems : fileSystems, settings, system, messages, window, tray, shortcuts,
            browser},
           dispatch) {}

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
