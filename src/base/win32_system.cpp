#include "base/win32_system.h"

#include <windows.h>

#include <shlobj.h>

#include <utility>

#include "base/win32_scopes.h"
#include "base/win32_text.h"

namespace zelmora {

std::string Win32System::LocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string text = "hh:mm:ss";
    for (const auto& [position, field] : {std::pair{0, now.wHour}, {3, now.wMinute}, {6, now.wSecond}}) {
        text[static_cast<size_t>(position)] = static_cast<char>('0' + field / 10);
        text[static_cast<size_t>(position) + 1] = static_cast<char>('0' + field % 10);
    }
    return text;
}

uint32_t Win32System::Milliseconds() {
    return GetTickCount();
}

std::string Win32System::Environment(const std::string& name) {
    const std::wstring wideName = Widen(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return Narrow(value);
}

std::string Win32System::ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.rfind(L'\\'));
    if (path.size() == 2 && path[1] == L':')
        path += L'\\';  // a drive's root keeps its separator
    return Narrow(path);
}

namespace {

std::wstring KnownFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

// The volume and file ID of a folder, which name it whatever path leads there (a junction, a link).
bool FolderIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& identity) {
    const ScopedHandle folder =
        OwnFile(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder && GetFileInformationByHandle(folder.Get(), &identity) &&
           (identity.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string Win32System::AppDataFolder() {
    return Narrow(KnownFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE));
}

bool Win32System::IsOwnProfileFolder(const std::string& path) {
    const std::wstring profile = KnownFolder(CSIDL_PROFILE);
    BY_HANDLE_FILE_INFORMATION own{};
    BY_HANDLE_FILE_INFORMATION named{};
    return !profile.empty() && FolderIdentity(profile, own) && FolderIdentity(Widen(path), named) &&
           own.dwVolumeSerialNumber == named.dwVolumeSerialNumber && own.nFileIndexHigh == named.nFileIndexHigh &&
           own.nFileIndexLow == named.nFileIndexLow;
}

}  // namespace zelmora
