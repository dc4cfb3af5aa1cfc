#include "settings/win32_profile_store.h"

#include <windows.h>

#include "base/win32_text.h"

namespace zelmora {

std::string Win32ProfileStore::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& path) {
    char buffer[kMaxValueBytes + 1] = {};
    GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(defaultValue).c_str(), buffer,
                             sizeof buffer, ToAnsi(path).c_str());
    return FromAnsi(buffer);
}

void Win32ProfileStore::Write(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& path) {
    WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(value).c_str(),
                               ToAnsi(path).c_str());
}

}  // namespace zelmora
