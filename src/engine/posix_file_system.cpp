#include "engine/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/folder_walk.h"

namespace zelmora {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error = errno) {
    if (error == ENOENT)
        throw EntryGone("gone: " + path);
    throw FileSystemError(what + " " + path + ": " + std::strerror(error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Names in an open folder, without "." and "..". Read with Linux's getdents64 straight from the folder's
// descriptor: a directory stream over a duplicate of it costs five more calls for every folder.
std::vector<std::string> ReadNames(int folderFd, const std::string& path) {
    if (lseek(folderFd, 0, SEEK_SET) != 0)
        Fail("cannot list", path);
    alignas(dirent64) static thread_local char buffer[32 * 1024];
    std::vector<std::string> names;
    for (;;) {
        const ssize_t size = getdents64(folderFd, buffer, sizeof buffer);
        if (size < 0)
            Fail("cannot list", path);
        if (size == 0)
            return names;
        for (ssize_t offset = 0; offset < size;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
    }
}

class PosixFolder : public Folder {
public:
    PosixFolder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {
        for (std::string& name : ReadNames(fd_.Get(), path_)) {
            struct stat status {};
            if (fstatat(fd_.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT)
                    continue;  // gone since the listing
                Fail("cannot read", path_ + "/" + name);
            }
            if (S_ISLNK(status.st_mode))
                continue;  // never counted, never entered
            if (S_ISDIR(status.st_mode))
                subFolders_.push_back(std::move(name));
            else
                files_.push_back({std::move(name), static_cast<int64_t>(status.st_size)});
        }
    }

    const std::vector<FileEntry>& Files() const override { return files_; }
    const std::vector<std::string>& SubFolders() const override { return subFolders_; }

    std::unique_ptr<Folder> OpenSubFolder(size_t index) const override {
        const std::string& name = subFolders_.at(index);
        const int fd = openat(fd_.Get(), name.c_str(), kFolderFlags | O_NOFOLLOW);
        if (fd < 0)
            Fail("cannot open", path_ + "/" + name);
        return std::make_unique<PosixFolder>(fd, path_ + "/" + name);
    }

private:
    Descriptor fd_;
    std::string path_;
    std::vector<FileEntry> files_;
    std::vector<std::string> subFolders_;
};

// An entry whose owner may not write it counts as read-only, as a plain rm would stop to ask.
bool IsReadOnly(const struct stat& status) {
    return (status.st_mode & S_IWUSR) == 0;
}

// A folder being emptied: open, with the names it held and how far the deletion has come.
struct Emptying {
    Descriptor folder;
    std::string path;
    std::vector<std::string> names;
    size_t next = 0;
    bool everythingWent = true;
};

// Deletes what the open folder holds, depth-first (WalkDepthFirst), going on past what cannot go, and counts each
// file removed. Links are removed themselves, never followed. A read-only entry stays untouched, and so does a
// folder that cannot be opened or listed, and a folder that still holds something. An entry gone meanwhile is
// neither counted nor in the way. Asked to stop, the deletion ends before the next entry.
class TreeDeletion {
public:
    explicit TreeDeletion(DeletionProgress& progress) : progress_(progress) {}

    // Whether everything the folder held went.
    bool DeleteContents(Descriptor root, const std::string& path) {
        std::vector<std::string> names = ReadNames(root.Get(), path);
        return WentInside(WalkDepthFirst(Emptying{std::move(root), path, std::move(names)}, *this));
    }

    bool Done(const Emptying& folder) { return folder.next == folder.names.size() || progress_.StopRequested(); }

    std::optional<Emptying> Next(Emptying& folder) {
        const std::string& name = folder.names[folder.next++];
        struct stat status {};
        if (fstatat(folder.folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            folder.everythingWent &= errno == ENOENT;  // gone meanwhile
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode) && IsReadOnly(status)) {
            folder.everythingWent = false;
            return std::nullopt;
        }
        if (!S_ISDIR(status.st_mode)) {
            if (unlinkat(folder.folder.Get(), name.c_str(), 0) == 0) {
                if (!S_ISLNK(status.st_mode))
                    progress_.FileDeleted(static_cast<int64_t>(status.st_size));
            } else if (errno != ENOENT) {
                folder.everythingWent = false;
            }
            return std::nullopt;
        }
        Descriptor sub(openat(folder.folder.Get(), name.c_str(), kFolderFlags | O_NOFOLLOW));
        const int openError = errno;
        if (sub.Get() < 0 && openError == ENOENT)
            return std::nullopt;  // gone meanwhile
        std::string subPath = folder.path + "/" + name;
        try {
            if (sub.Get() < 0)
                Fail("cannot open", subPath, openError);
            std::vector<std::string> subNames = ReadNames(sub.Get(), subPath);
            return Emptying{std::move(sub), std::move(subPath), std::move(subNames)};
        } catch (const FileSystemError&) {
            folder.everythingWent = false;
        }
        return std::nullopt;
    }

    // A folder emptied is removed from the one that holds it.
    void Leave(const Emptying& done, Emptying& holder) {
        const char* name = holder.names[holder.next - 1].c_str();
        if (!WentInside(done) || (unlinkat(holder.folder.Get(), name, AT_REMOVEDIR) != 0 && errno != ENOENT))
            holder.everythingWent = false;
    }

private:
    static bool WentInside(const Emptying& folder) {
        return folder.everythingWent && folder.next == folder.names.size();
    }

    DeletionProgress& progress_;
};

// Windows takes a path of the \\?\ form as it is: an empty, "." or ".." part names nothing. Such a path
// names nothing here either, where the host would resolve it elsewhere.
bool NamesNothing(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        path.remove_prefix(2);
    if (!path.empty() && (path.front() == '\\' || path.front() == '/'))
        path.remove_prefix(1);
    for (;;) {
        const size_t end = path.find_first_of("\\/");
        const std::string_view part = path.substr(0, end);
        if (part.empty() || part == "." || part == "..")
            return true;
        if (end == std::string_view::npos)
            return false;
        path.remove_prefix(end + 1);
    }
}

}  // namespace

std::string PosixFileSystem::HostPath(const std::string& path) const {
    std::string host = path;
    if (host.size() >= 2 && (host[1] == ':') && (host[0] == 'C' || host[0] == 'c'))
        host = driveRoot_ + host.substr(2);
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

std::unique_ptr<Folder> PosixFileSystem::GetFolder(const std::string& path) {
    const std::string host = HostPath(path);
    if (NamesNothing(path))
        Fail("cannot open", host, ENOENT);
    const int fd = open(host.c_str(), kFolderFlags);
    if (fd < 0)
        Fail("cannot open", host);
    return std::make_unique<PosixFolder>(fd, host);
}

bool PosixFileSystem::Exists(const std::string& path) {
    if (NamesNothing(path))
        return false;
    struct stat status {};
    return stat(HostPath(path).c_str(), &status) == 0;
}

// The folder named by the path is followed if it is itself a link (a cache moved to another drive):
// its target is emptied and the link is removed, the target folder stays.
Deletion PosixFileSystem::DeleteFolder(const std::string& path, DeletionProgress& progress) {
    const std::string host = HostPath(path);
    if (NamesNothing(path))
        Fail("cannot find", host, ENOENT);
    struct stat status {};
    if (lstat(host.c_str(), &status) != 0)
        Fail("cannot find", host);
    Deletion done;
    if (!S_ISLNK(status.st_mode) && IsReadOnly(status))
        return done;
    Descriptor folder(open(host.c_str(), kFolderFlags));
    if (folder.Get() < 0)
        Fail("cannot open", host);
    done.contentsGone = TreeDeletion(progress).DeleteContents(std::move(folder), host);
    done.folderGone = done.contentsGone && (S_ISLNK(status.st_mode) ? unlink(host.c_str()) : rmdir(host.c_str())) == 0;
    return done;
}

}  // namespace zelmora
