#include "base/win32_system.h"

#include <windows.h>

#include <shlobj.h>

#include <utility>

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

std::string Win32System::AppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return Narrow(folder);
}

}  // namespace zelmora
