#include "engine/win32_file_system.h"

#include <windows.h>

#include "base/win32_text.h"

namespace zelmora {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD error = GetLastError()) {
    throw FileSystemError(what + " " + path + ": error " + std::to_string(error));
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
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Valid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

struct Entry {
    std::string name;
    DWORD attributes;
    int64_t length;

    bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsReadOnly() const { return (attributes & FILE_ATTRIBUTE_READONLY) != 0; }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DWORD AttributesOf(const Handle& handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(handle.Get(), FileAttributeTagInfo, &info, sizeof info))
        return INVALID_FILE_ATTRIBUTES;
    return info.FileAttributes;
}

// Opens a folder. Inside the tree a link is opened as itself and refused, so a folder swapped for a link
// after it was listed is never entered; the path to the tree is followed as any path is.
std::unique_ptr<Handle> OpenFolder(const std::string& path, bool insideTree) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (insideTree ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    auto handle =
        std::make_unique<Handle>(CreateFileW(LongPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                             kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle->Valid())
        Fail("cannot open", path);
    const DWORD attributes = AttributesOf(*handle);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (insideTree && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)))
        Fail("not a plain folder:", path, ERROR_DIRECTORY);
    return handle;
}

std::vector<Entry> List(const Handle& folder, const std::string& path) {
    std::vector<Entry> entries;
    alignas(8) static thread_local unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS infoClass = FileIdBothDirectoryRestartInfo;
    for (;;) {
        if (!GetFileInformationByHandleEx(folder.Get(), infoClass, buffer, sizeof buffer)) {
            if (GetLastError() == ERROR_NO_MORE_FILES)
                return entries;
            Fail("cannot list", path);
        }
        infoClass = FileIdBothDirectoryInfo;
        for (size_t offset = 0;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..")
                entries.push_back({Narrow(name), info->FileAttributes, info->EndOfFile.QuadPart});
            if (info->NextEntryOffset == 0)
                break;
            offset += info->NextEntryOffset;
        }
    }
}

class Win32Folder : public Folder {
public:
    Win32Folder(std::unique_ptr<Handle> handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {
        for (Entry& entry : List(*handle_, path_)) {
            if (entry.IsLink())
                continue;  // never counted, never entered
            if (entry.IsFolder())
                subFolders_.push_back(std::move(entry.name));
            else
                files_.push_back({std::move(entry.name), entry.length});
        }
    }

    const std::vector<FileEntry>& Files() const override { return files_; }
    const std::vector<std::string>& SubFolders() const override { return subFolders_; }

    std::unique_ptr<Folder> OpenSubFolder(const std::string& name) const override {
        const std::string path = path_ + "\\" + name;
        return std::make_unique<Win32Folder>(OpenFolder(path, true), path);
    }

private:
    std::unique_ptr<Handle> handle_;
    std::string path_;
    std::vector<FileEntry> files_;
    std::vector<std::string> subFolders_;
};

// Removes a link itself, after checking by handle that the entry is still the link that was listed.
void DeleteLink(const std::string& path) {
    Handle link(CreateFileW(LongPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!link.Valid())
        Fail("cannot open", path);
    const DWORD attributes = AttributesOf(link);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        Fail("not the link that was listed:", path, ERROR_CANT_ACCESS_FILE);
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(link.Get(), FileDispositionInfo, &disposition, sizeof disposition))
        Fail("cannot delete", path);
}

// Deletes what the open folder holds. Nothing is forced: a read-only entry or one in use stops it.
void DeleteContents(const Handle& folder, const std::string& path) {
    for (const Entry& entry : List(folder, path)) {
        const std::string entryPath = path + "\\" + entry.name;
        if (entry.IsLink()) {
            DeleteLink(entryPath);
            continue;
        }
        if (entry.IsReadOnly())
            Fail("cannot delete", entryPath, ERROR_ACCESS_DENIED);
        if (entry.IsFolder()) {
            {
                const std::unique_ptr<Handle> sub = OpenFolder(entryPath, true);
                DeleteContents(*sub, entryPath);
            }
            if (!RemoveDirectoryW(LongPath(entryPath).c_str()))
                Fail("cannot delete", entryPath);
        } else if (!DeleteFileW(LongPath(entryPath).c_str())) {
            Fail("cannot delete", entryPath);
        }
    }
}

}  // namespace

std::unique_ptr<Folder> Win32FileSystem::GetFolder(const std::string& path) {
    return std::make_unique<Win32Folder>(OpenFolder(path, false), path);
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
        const std::unique_ptr<Handle> folder = OpenFolder(path, false);
        if (AttributesOf(*folder) & FILE_ATTRIBUTE_READONLY)
            Fail("cannot delete", path, ERROR_ACCESS_DENIED);
        DeleteContents(*folder, path);
    }
    if (!RemoveDirectoryW(LongPath(path).c_str()))
        Fail("cannot delete", path);
}

}  // namespace zelmora
