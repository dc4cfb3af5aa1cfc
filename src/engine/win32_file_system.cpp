#include "engine/win32_file_system.h"

#include <unordered_map>

#include "base/win32_text.h"
#include "engine/win32_folder_listing.h"

namespace zelmora {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD error) {
    throw FileSystemError(what + " " + path + ": error " + std::to_string(error));
}

void Check(NTSTATUS status, const std::string& what, const std::string& path) {
    if (!NT_SUCCESS(status))
        Fail(what, path, RtlNtStatusToDosError(status));
}

// The \\?\ form lifts the 260-character limit.
std::wstring LongPath(const std::string& path) {
    std::wstring wide = Widen(path);
    for (wchar_t& c : wide) {
        if (c == L'/')
            c = L'\\';
    }
    if (wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    if (wide.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + wide.substr(2);
    if (wide.size() >= 2 && wide[1] == L':')
        return L"\\\\?\\" + wide;
    return wide;
}

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Handle& operator=(Handle&&) = delete;
    ~Handle() {
        if (handle_)
            NtClose(handle_);
    }
    HANDLE Get() const { return handle_; }
    HANDLE* Receive() { return &handle_; }

private:
    HANDLE handle_ = nullptr;
};

// A folder being walked is opened without delete sharing, so it cannot be renamed or deleted meanwhile.
constexpr ULONG kShareFolder = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ACCESS_MASK kListAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;

FILE_BASIC_INFORMATION BasicInformation(const Handle& handle, const std::string& path) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION info{};
    Check(NtQueryInformationFile(handle.Get(), &io, &info, sizeof info, FileBasicInformation), "cannot read", path);
    return info;
}

// Opens the folder at a path, following it where it is a link, as any path is followed.
Handle OpenFolderAt(const std::string& path) {
    const HANDLE handle = CreateFileW(LongPath(path).c_str(), kListAccess, kShareFolder, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail("cannot open", path, GetLastError());
    Handle folder(handle);
    if (!(BasicInformation(folder, path).FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail("not a folder:", path, ERROR_DIRECTORY);
    return folder;
}

// Opens an entry of an open folder by its name, as itself where it is a link.
Handle OpenEntry(const Handle& folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options,
                 const std::string& path) {
    const auto nameBytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    UNICODE_STRING objectName{nameBytes, nameBytes, const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES attributes{sizeof attributes, folder.Get(), &objectName, 0, nullptr, nullptr};
    IO_STATUS_BLOCK io{};
    Handle entry;
    Check(NtCreateFile(entry.Receive(), access | SYNCHRONIZE, &attributes, &io, nullptr, 0, share, FILE_OPEN,
                       options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0),
          "cannot open", path);
    return entry;
}

// Opens a listed entry as OpenEntry does and makes sure it is the entry that was listed: an entry swapped for
// another since, or a Unix link that Wine opens as its target, has another file ID.
Handle OpenListed(const Handle& folder, const ListedEntry& listed, ACCESS_MASK access, ULONG share, ULONG options,
                  const std::string& path) {
    Handle entry = OpenEntry(folder, listed.name, access, share, options, path);
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION id{};
    Check(NtQueryInformationFile(entry.Get(), &io, &id, sizeof id, FileInternalInformation), "cannot read", path);
    if (listed.fileId != 0 && id.IndexNumber.QuadPart != listed.fileId)
        Fail("not the entry that was listed:", path, ERROR_CANT_ACCESS_FILE);
    return entry;
}

std::vector<ListedEntry> List(const Handle& folder, const std::string& path) {
    std::vector<ListedEntry> entries;
    Check(ListFolder(folder.Get(), entries), "cannot list", path);
    return entries;
}

class Win32Folder : public Folder {
public:
    Win32Folder(Handle handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {
        for (ListedEntry& entry : List(handle_, path_)) {
            if (entry.IsFolder()) {
                subFolders_.push_back(Narrow(entry.name));
                listedSubFolders_.emplace(subFolders_.back(), std::move(entry));
            } else if (!entry.IsLink()) {  // links are never counted, never entered
                files_.push_back({Narrow(entry.name), entry.length});
            }
        }
    }

    const std::vector<FileEntry>& Files() const override { return files_; }
    const std::vector<std::string>& SubFolders() const override { return subFolders_; }

    std::unique_ptr<Folder> OpenSubFolder(const std::string& name) const override {
        const std::string path = path_ + "\\" + name;
        const auto listed = listedSubFolders_.find(name);
        if (listed == listedSubFolders_.end())
            Fail("not a listed folder:", path, ERROR_PATH_NOT_FOUND);
        return std::make_unique<Win32Folder>(
            OpenListed(handle_, listed->second, kListAccess, kShareFolder, FILE_DIRECTORY_FILE, path), path);
    }

private:
    Handle handle_;
    std::string path_;
    std::vector<FileEntry> files_;
    std::vector<std::string> subFolders_;
    std::unordered_map<std::string, ListedEntry> listedSubFolders_;  // by UTF-8 name
};

// Before Windows 10, and on FAT, a deleted file keeps its name until the last handle on it closes, so a folder
// just emptied can still be "not empty" for a moment: its removal is tried again for about 100 ms.
constexpr DWORD kRemovalRetryPausesMs[] = {1, 3, 6, 15, 25, 50};

// Runs a removal that returns a Win32 error, or 0, until it succeeds, fails otherwise, or the pauses run out.
template <typename Removal>
DWORD RemoveEmptied(const Removal& remove) {
    DWORD error = remove();
    for (const DWORD pause : kRemovalRetryPausesMs) {
        if (error != ERROR_DIR_NOT_EMPTY)
            break;
        Sleep(pause);
        error = remove();
    }
    return error;
}

NTSTATUS MarkForDeletion(const Handle& handle) {
    IO_STATUS_BLOCK io{};
    FILE_DISPOSITION_INFORMATION disposition{TRUE};
    return NtSetInformationFile(handle.Get(), &io, &disposition, sizeof disposition, FileDispositionInformation);
}

void DeleteContents(const Handle& folder, const std::string& path);

// Empties a subfolder through a handle opened relative to its parent, then deletes it. Each attempt at the
// deletion opens it anew: Wine tells whether a folder is empty from where its handle last read.
void DeleteSubFolder(const Handle& parent, const ListedEntry& entry, const std::string& path) {
    const auto open = [&](ACCESS_MASK access) {
        return OpenListed(parent, entry, access, kShareFolder, FILE_DIRECTORY_FILE, path);
    };
    DeleteContents(open(kListAccess), path);
    if (const DWORD error = RemoveEmptied([&] { return RtlNtStatusToDosError(MarkForDeletion(open(DELETE))); }))
        Fail("cannot delete", path, error);
}

// Deletes a link itself through a handle opened relative to its folder. A link that opens as its target cannot
// be removed: the target would be deleted in its place.
void DeleteLink(const Handle& parent, const ListedEntry& entry, const std::string& path) {
    if (entry.IsWineLink())
        Fail("cannot delete the link", path, ERROR_CANT_ACCESS_FILE);
    Check(MarkForDeletion(OpenListed(parent, entry, DELETE, kShareAll, 0, path)), "cannot delete", path);
}

// Deletes a file as its handle, opened relative to its folder, closes. Its file ID is not compared, which would
// cost Wine a server call for each file: on Windows whatever the name holds by then is opened as itself, inside
// the folder; under Wine a Unix link to a file is opened as its target whether it was swapped in or listed.
void DeleteFileEntry(const Handle& parent, const ListedEntry& entry, const std::string& path) {
    OpenEntry(parent, entry.name, DELETE, kShareAll, FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE, path);
}

// Deletes what the open folder holds. Nothing is forced: a read-only entry or one in use stops it.
void DeleteContents(const Handle& folder, const std::string& path) {
    for (const ListedEntry& entry : List(folder, path)) {
        const std::string entryPath = path + "\\" + Narrow(entry.name);
        if (!entry.IsLink() && entry.IsReadOnly())
            Fail("cannot delete", entryPath, ERROR_ACCESS_DENIED);
        if (entry.IsLink())
            DeleteLink(folder, entry, entryPath);
        else if (entry.IsFolder())
            DeleteSubFolder(folder, entry, entryPath);
        else
            DeleteFileEntry(folder, entry, entryPath);
    }
}

}  // namespace

std::unique_ptr<Folder> Win32FileSystem::GetFolder(const std::string& path) {
    return std::make_unique<Win32Folder>(OpenFolderAt(path), path);
}

bool Win32FileSystem::Exists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// A cache folder that is itself a link is followed: its target is emptied and the link removed.
void Win32FileSystem::DeleteFolder(const std::string& path) {
    {
        const Handle folder = OpenFolderAt(path);
        if (BasicInformation(folder, path).FileAttributes & FILE_ATTRIBUTE_READONLY)
            Fail("cannot delete", path, ERROR_ACCESS_DENIED);
        DeleteContents(folder, path);
    }
    const std::wstring longPath = LongPath(path);
    if (const DWORD error = RemoveEmptied([&] { return RemoveDirectoryW(longPath.c_str()) ? 0 : GetLastError(); }))
        Fail("cannot delete", path, error);
}

}  // namespace zelmora
