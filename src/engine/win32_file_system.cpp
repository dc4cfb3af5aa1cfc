#include "engine/win32_file_system.h"

#include <optional>
#include <string_view>

#include "base/number_text.h"
#include "base/win32_files.h"
#include "base/win32_scopes.h"
#include "base/win32_text.h"
#include "engine/folder_walk.h"
#include "engine/win32_folder_listing.h"

namespace zelmora {

namespace {

// Failures name the entry they concern: for an entry inside the tree its name, for the tree its path.
[[noreturn]] void Fail(const char* what, std::wstring_view name, DWORD error) {
    throw FileSystemError(std::string(what) + " " + Narrow(std::wstring(name)) + ": error " + DecimalText(error));
}

void Check(NTSTATUS status, const char* what, std::wstring_view name) {
    if (NT_SUCCESS(status))
        return;
    if (status == nt::kObjectNameNotFound || status == nt::kObjectPathNotFound || status == nt::kDeletePending)
        throw EntryGone("gone: " + Narrow(std::wstring(name)));
    Fail(what, name, RtlNtStatusToDosError(status));
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

// Handles of the native API, closed by it.
using Handle = Scoped<HANDLE, &NtClose>;

// A folder being walked is opened without delete sharing, so it cannot be renamed or deleted meanwhile.
constexpr ULONG kShareFolder = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr ACCESS_MASK kListAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;

FILE_BASIC_INFORMATION BasicInformation(const Handle& handle, std::wstring_view name) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFORMATION info{};
    Check(NtQueryInformationFile(handle.Get(), &io, &info, sizeof info, FileBasicInformation), "cannot read", name);
    return info;
}

// Opens the folder at a path, following it where it is a link, as any path is followed.
Handle OpenFolderAt(const std::wstring& path) {
    const HANDLE handle = CreateFileW(path.c_str(), kListAccess, kShareFolder, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            throw EntryGone("gone: " + Narrow(path));
        Fail("cannot open", path, error);
    }
    Handle folder(handle);
    if (!(BasicInformation(folder, path).FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail("not a folder:", path, ERROR_DIRECTORY);
    return folder;
}

// Opens an entry of an open folder by its name, as itself where it is a link.
Handle OpenEntry(const Handle& folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options) {
    const auto nameBytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    UNICODE_STRING objectName{nameBytes, nameBytes, const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES attributes{sizeof attributes, folder.Get(), &objectName, 0, nullptr, nullptr};
    IO_STATUS_BLOCK io{};
    Handle entry;
    Check(NtCreateFile(entry.Receive(), access | SYNCHRONIZE, &attributes, &io, nullptr, 0, share, FILE_OPEN,
                       options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0),
          "cannot open", name);
    return entry;
}

// Opens a listed entry as OpenEntry does and makes sure it is the entry that was listed: an entry swapped for
// another since, or a Unix link that Wine opens as its target, has another file ID.
Handle OpenListed(const Handle& folder, const ListedEntry& listed, ACCESS_MASK access, ULONG share, ULONG options) {
    Handle entry = OpenEntry(folder, listed.name, access, share, options);
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION id{};
    Check(NtQueryInformationFile(entry.Get(), &io, &id, sizeof id, FileInternalInformation), "cannot read",
          listed.name);
    if (listed.fileId != 0 && id.IndexNumber.QuadPart != listed.fileId)
        Fail("not the entry that was listed:", listed.name, ERROR_CANT_ACCESS_FILE);
    return entry;
}

std::vector<ListedEntry> List(const Handle& folder, std::wstring_view name) {
    std::vector<ListedEntry> entries;
    Check(ListFolder(folder.Get(), entries), "cannot list", name);
    return entries;
}

// A folder of the walk. It keeps no path: a walk may go deeper than paths of every level could be kept.
class Win32Folder : public Folder {
public:
    Win32Folder(Handle handle, std::wstring_view name) : handle_(std::move(handle)) {
        for (ListedEntry& entry : List(handle_, name)) {
            if (entry.IsFolder()) {
                subFolders_.push_back(Narrow(entry.name));
                listedSubFolders_.push_back(std::move(entry));
            } else if (!entry.IsLink()) {  // links are never counted, never entered
                files_.push_back({Narrow(entry.name), entry.length});
            }
        }
    }

    const std::vector<FileEntry>& Files() const override { return files_; }
    const std::vector<std::string>& SubFolders() const override { return subFolders_; }

    std::unique_ptr<Folder> OpenSubFolder(size_t index) const override {
        const ListedEntry& entry = listedSubFolders_.at(index);
        return std::make_unique<Win32Folder>(OpenListed(handle_, entry, kListAccess, kShareFolder, FILE_DIRECTORY_FILE),
                                             entry.name);
    }

private:
    Handle handle_;
    std::vector<FileEntry> files_;
    std::vector<std::string> subFolders_;
    std::vector<ListedEntry> listedSubFolders_;  // in the order of subFolders_
};

// FileDispositionInformationEx and its flags, from Windows 10 1709 on.
constexpr int kFileDispositionInformationEx = 64;
constexpr ULONG kDispositionDelete = 0x1;
constexpr ULONG kDispositionPosixSemantics = 0x2;

// A folder being emptied: open, with its listing, how far the deletion has come, and its files marked for deletion
// that are not confirmed gone yet (their places in the listing).
struct Emptying {
    Handle folder;
    std::vector<ListedEntry> entries;
    size_t next = 0;
    bool everythingWent = true;
    std::vector<uint32_t> unconfirmed = {};
};

// Deletes the entries of one tree and counts the files that went. A deleted name stays in its folder while any
// other program (the indexer, an antivirus scan, a thumbnailer) still has the entry open, so the folder cannot go
// yet: where the system can, an entry is deleted with POSIX semantics, which take its name away at once, and the
// success of that call confirms it. Where it cannot (Windows before 10 1709, FAT, Wine 8), a file goes as its
// handle closes, and may not (Wine fails such a deletion silently): its going is confirmed by its folder going,
// or else by its name no longer opening. A folder just emptied is then "not empty" for a moment, and its
// removal is tried again.
class TreeDeletion {
public:
    TreeDeletion(nt::SetInformationFile setInformation, DeletionProgress& progress)
        : setInformation_(setInformation), progress_(progress) {}

    // Hands back the top folder's listing and its files not confirmed gone yet; its handle is closed.
    bool DeleteContents(Handle root, std::wstring_view path, Emptying& top);
    // The walk's steps (WalkDepthFirst).
    bool Done(const Emptying& folder) { return folder.next == folder.entries.size() || progress_.StopRequested(); }
    std::optional<Emptying> Next(Emptying& folder);
    void Leave(Emptying done, Emptying& holder) { FolderDone(std::move(done), holder); }
    // Counts the unconfirmed files of a folder that are gone: all of them where the folder is gone (no handle
    // given), otherwise those whose names no longer open there, or open as being deleted. Whether all of them went.
    bool Confirm(Emptying& folder, const Handle* handle);
    bool IsGone(const Handle& folder, const ListedEntry& file);
    // Runs a removal that returns a Win32 error, or 0, until it succeeds, fails otherwise, or the pauses run
    // out: about 100 ms in all for the whole tree, so no tree keeps the cleaning waiting longer.
    template <typename Removal>
    DWORD RemoveEmptied(const Removal& remove);

private:
    NTSTATUS MarkForDeletion(const Handle& handle);
    void DeleteFileEntry(Emptying& folder, const ListedEntry& entry);
    void DeleteLink(const Handle& parent, const ListedEntry& entry);
    void RemoveFolder(const Handle& parent, const ListedEntry& entry);
    void FolderDone(Emptying done, Emptying& parent);

    nt::SetInformationFile setInformation_;
    DeletionProgress& progress_;
    bool posixSemantics_ = true;  // until the system refuses them
    DWORD pausesLeftMs_ = 100;
};

template <typename Removal>
DWORD TreeDeletion::RemoveEmptied(const Removal& remove) {
    constexpr DWORD kPausesMs[] = {1, 3, 6, 15, 25, 50};
    DWORD error = remove();
    for (const DWORD pause : kPausesMs) {
        if (error != ERROR_DIR_NOT_EMPTY || pause > pausesLeftMs_)
            break;
        Sleep(pause);
        pausesLeftMs_ -= pause;
        error = remove();
    }
    return error;
}

NTSTATUS TreeDeletion::MarkForDeletion(const Handle& handle) {
    IO_STATUS_BLOCK io{};
    if (posixSemantics_) {
        ULONG flags = kDispositionDelete | kDispositionPosixSemantics;
        const NTSTATUS status = setInformation_(handle.Get(), &io, &flags, sizeof flags,
                                                nt::InformationClass(kFileDispositionInformationEx));
        // A system that lacks the class or its flags refuses them: STATUS_NOT_IMPLEMENTED (Wine 8) or
        // INVALID_DEVICE_REQUEST, INVALID_INFO_CLASS or INVALID_PARAMETER (Windows before 10 1709), NOT_SUPPORTED
        // (FAT, network shares).
        const DWORD error = RtlNtStatusToDosError(status);
        if (error != ERROR_INVALID_PARAMETER && error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SUPPORTED)
            return status;
        posixSemantics_ = false;  // the class is refused, and will be for every entry of the tree
    }
    FILE_DISPOSITION_INFORMATION disposition{TRUE};
    return setInformation_(handle.Get(), &io, &disposition, sizeof disposition, FileDispositionInformation);
}

// A file is opened relative to its folder, as itself. Its file ID is not compared, which would cost Wine a server
// call for each file: on Windows whatever the name holds by then is opened as itself, inside the folder; under
// Wine a Unix link to a file is opened as its target whether it was swapped in or listed. Without POSIX
// semantics the file goes as its handle closes.
void TreeDeletion::DeleteFileEntry(Emptying& folder, const ListedEntry& entry) {
    if (!posixSemantics_) {
        OpenEntry(folder.folder, entry.name, DELETE, kShareAll, FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE);
        folder.unconfirmed.push_back(static_cast<uint32_t>(folder.next - 1));
        return;
    }
    Check(MarkForDeletion(OpenEntry(folder.folder, entry.name, DELETE, kShareAll, FILE_NON_DIRECTORY_FILE)),
          "cannot delete", entry.name);
    if (posixSemantics_)
        progress_.FileDeleted(entry.length);
    else
        folder.unconfirmed.push_back(static_cast<uint32_t>(folder.next - 1));
}

// A link is removed itself through a handle opened relative to its folder. A link that opens as its target
// cannot be removed: the target would be deleted in its place.
void TreeDeletion::DeleteLink(const Handle& parent, const ListedEntry& entry) {
    if (entry.IsWineLink())
        Fail("cannot delete the link", entry.name, ERROR_CANT_ACCESS_FILE);
    Check(MarkForDeletion(OpenListed(parent, entry, DELETE, kShareAll, 0)), "cannot delete", entry.name);
}

// Each attempt opens the emptied folder anew: Wine tells whether a folder is empty from where its handle last
// read.
void TreeDeletion::RemoveFolder(const Handle& parent, const ListedEntry& entry) {
    if (const DWORD error = RemoveEmptied([&] {
            return RtlNtStatusToDosError(
                MarkForDeletion(OpenListed(parent, entry, DELETE, kShareFolder, FILE_DIRECTORY_FILE)));
        }))
        Fail("cannot delete", entry.name, error);
}

// A name that no longer opens is gone; one that opens as being deleted goes once the other program closes it.
bool TreeDeletion::IsGone(const Handle& folder, const ListedEntry& file) {
    try {
        OpenEntry(folder, file.name, FILE_READ_ATTRIBUTES, kShareAll, FILE_NON_DIRECTORY_FILE);
        return false;
    } catch (const EntryGone&) {
        return true;
    } catch (const FileSystemError&) {
        return false;  // cannot tell
    }
}

bool TreeDeletion::Confirm(Emptying& folder, const Handle* handle) {
    bool allWent = true;
    for (const uint32_t index : folder.unconfirmed) {
        const ListedEntry& file = folder.entries[index];
        const bool went = !handle || IsGone(*handle, file);
        if (went)
            progress_.FileDeleted(file.length);
        allWent &= went;
    }
    folder.unconfirmed.clear();
    return allWent;
}

// A folder whose entries are done is removed where everything in it went, which confirms its files gone;
// otherwise each name tells whether its file went.
void TreeDeletion::FolderDone(Emptying done, Emptying& parent) {
    const ListedEntry& entry = parent.entries[parent.next - 1];
    const bool wentInside = done.everythingWent && done.next == done.entries.size();
    done.folder.Reset();  // to be opened anew for its removal
    try {
        if (wentInside) {
            try {
                RemoveFolder(parent.folder, entry);
            } catch (const EntryGone&) {
            }
            Confirm(done, nullptr);
            return;
        }
    } catch (const FileSystemError&) {
    }
    parent.everythingWent = false;
    try {
        const Handle folder = OpenListed(parent.folder, entry, kListAccess, kShareFolder, FILE_DIRECTORY_FILE);
        Confirm(done, &folder);
    } catch (const EntryGone&) {
        Confirm(done, nullptr);
    } catch (const FileSystemError&) {
    }
}

// Deletes what the open folder holds, depth-first (WalkDepthFirst), going on past what cannot go; returns whether
// everything went, and hands back the folder's own files that are not confirmed gone yet. Nothing is forced: a
// read-only entry stays untouched, and so does one in use or denied, a folder that cannot be opened or listed, and a
// folder that still holds something. An entry gone meanwhile is neither counted nor in the way. Asked to stop, the
// deletion ends before the next entry.
bool TreeDeletion::DeleteContents(Handle root, std::wstring_view path, Emptying& top) {
    std::vector<ListedEntry> entries = List(root, path);
    Emptying done = WalkDepthFirst(Emptying{std::move(root), std::move(entries)}, *this);
    top.entries = std::move(done.entries);
    top.unconfirmed = std::move(done.unconfirmed);
    return done.everythingWent && done.next == top.entries.size();  // its handle closes
}

std::optional<Emptying> TreeDeletion::Next(Emptying& folder) {
    const ListedEntry& entry = folder.entries[folder.next++];
    try {
        if (entry.IsLink()) {
            DeleteLink(folder.folder, entry);
        } else if (entry.IsReadOnly()) {
            folder.everythingWent = false;
        } else if (!entry.IsFolder()) {
            DeleteFileEntry(folder, entry);
        } else {
            Handle sub = OpenListed(folder.folder, entry, kListAccess, kShareFolder, FILE_DIRECTORY_FILE);
            std::vector<ListedEntry> subEntries = List(sub, entry.name);
            return Emptying{std::move(sub), std::move(subEntries)};
        }
    } catch (const EntryGone&) {
    } catch (const FileSystemError&) {
        folder.everythingWent = false;
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<Folder> Win32FileSystem::GetFolder(const std::string& path) {
    const std::wstring longPath = LongPath(path);
    return std::make_unique<Win32Folder>(OpenFolderAt(longPath), longPath);
}

bool Win32FileSystem::Exists(const std::string& path) {
    if (path.empty())
        return false;
    return IsVisibleEntry(LongPath(path));
}

// A cache folder that is itself a link is followed: its target is emptied and the link removed.
Deletion Win32FileSystem::DeleteFolder(const std::string& path, DeletionProgress& progress) {
    const std::wstring longPath = LongPath(path);
    TreeDeletion deletion(setInformation_, progress);
    Emptying top;
    Deletion done;
    {
        Handle folder = OpenFolderAt(longPath);
        if (BasicInformation(folder, longPath).FileAttributes & FILE_ATTRIBUTE_READONLY)
            return done;
        done.contentsGone = deletion.DeleteContents(std::move(folder), longPath, top);
    }
    if (done.contentsGone)
        done.folderGone =
            deletion.RemoveEmptied([&] { return RemoveDirectoryW(longPath.c_str()) ? 0 : GetLastError(); }) == 0;
    if (done.folderGone) {
        deletion.Confirm(top, nullptr);
        return done;
    }
    try {
        const Handle folder = OpenFolderAt(longPath);
        done.contentsGone &= deletion.Confirm(top, &folder);
    } catch (const FileSystemError&) {
        done.contentsGone = false;
    }
    return done;
}

}  // namespace zelmora
