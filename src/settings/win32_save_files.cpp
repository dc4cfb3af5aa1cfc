#include "settings/win32_save_files.h"

#include <windows.h>

#include "base/win32_files.h"
#include "base/win32_scopes.h"
#include "base/win32_text.h"

namespace zelmora {

namespace {

FileOutcome OutcomeOf(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileOutcome::Busy;
        case ERROR_ACCESS_DENIED:
            return FileOutcome::Refused;
        default:
            return FileOutcome::Failed;
    }
}

}  // namespace

SettingsFileKind Win32SaveFiles::KindOf(const std::string& path) {
    const std::wstring file = Widen(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SettingsFileKind::Missing
                                                                              : SettingsFileKind::Unwritable;
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return SettingsFileKind::Unwritable;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return SettingsFileKind::Linked;
    const ScopedHandle handle =
        OwnFile(CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle && GetFileInformationByHandle(handle.Get(), &info) && info.nNumberOfLinks > 1)
        return SettingsFileKind::Linked;
    return SettingsFileKind::Plain;
}

FileOutcome Win32SaveFiles::Copy(const std::string& from, const std::string& to) {
    const std::wstring copy = Widen(to);
    if (CopyFileW(Widen(from).c_str(), copy.c_str(), FALSE)) {
        const DWORD attributes = GetFileAttributesW(copy.c_str());
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(copy.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        return FileOutcome::Done;
    }
    if (GetLastError() != ERROR_FILE_NOT_FOUND)
        return OutcomeOf(GetLastError());
    // Nothing to copy: the profile writes make the copy.
    if (DeleteFileW(copy.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return FileOutcome::Done;
    return OutcomeOf(GetLastError());
}

bool Win32SaveFiles::Write(const std::vector<StoredValue>& values, const std::string& path) {
    const std::wstring file = Widen(path);
    for (const StoredValue& stored : values) {
        if (!WritePrivateProfileStringW(Widen(stored.section).c_str(), Widen(stored.key).c_str(),
                                        Widen(stored.value).c_str(), file.c_str()))
            return false;
    }
    return true;
}

bool Win32SaveFiles::Flush(const std::string& path) {
    const ScopedHandle file =
        OwnFile(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && FlushFileBuffers(file.Get());
}

// Windows refuses to replace a file that another program holds open with a denial, as with a sharing violation:
// the file was writable when the save began.
FileOutcome Win32SaveFiles::Replace(const std::string& from, const std::string& to) {
    if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FileOutcome::Done;
    const FileOutcome outcome = OutcomeOf(GetLastError());
    return outcome == FileOutcome::Refused ? FileOutcome::Busy : outcome;
}

void Win32SaveFiles::Remove(const std::string& path) {
    DeleteFileW(Widen(path).c_str());
}

void Win32SaveFiles::Pause(uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace zelmora
