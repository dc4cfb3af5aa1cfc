#include "settings/win32_profile_store.h"

#include <windows.h>

#include "base/win32_files.h"
#include "base/win32_scopes.h"
#include "base/win32_text.h"

namespace zelmora {

namespace {

// The longest start of the text that takes at most the given bytes in the ANSI code page, as the ANSI profile
// call would give it, cut between characters.
std::wstring CutToAnsiBytes(const std::wstring& text, size_t maxBytes) {
    size_t bytes = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() ? 2 : 1;
        bytes += static_cast<size_t>(
            WideCharToMultiByte(CP_ACP, 0, text.data() + i, static_cast<int>(length), nullptr, 0, nullptr, nullptr));
        if (bytes > maxBytes)
            return text.substr(0, i);
        i += length;
    }
    return text;
}

}  // namespace

std::string Win32ProfileStore::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& path) {
    wchar_t buffer[kMaxValueBytes + 1] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(defaultValue).c_str(), buffer,
                             kMaxValueBytes + 1, Widen(path).c_str());
    return Narrow(CutToAnsiBytes(buffer, kMaxValueBytes));
}

bool Win32ProfileStore::Save(const std::vector<StoredValue>& values, const std::string& path) {
    return SaveWhole(files_, values, path);
}

// A missing file is tried by making it, deleted again as its handle closes. Another program holding the file (an
// editor, a backup, an antivirus scan) does not make it unwritable: it will let go. A refusal (access denied,
// which the read-only attribute gives too, or write protection) does, and so does a folder that is missing.
bool Win32ProfileStore::CanWrite(const std::string& path) {
    const std::wstring file = Widen(path);
    ScopedHandle handle =
        OwnFile(CreateFileW(file.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle && GetLastError() == ERROR_FILE_NOT_FOUND)
        handle = OwnFile(CreateFileW(file.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (handle)
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

void Win32ProfileStore::StartFrom(const std::string& original, const std::string& path) {
    const std::wstring file = Widen(path);
    for (size_t separator = file.find_first_of(L"\\/", 3); separator != std::wstring::npos;
         separator = file.find_first_of(L"\\/", separator + 1))
        CreateDirectoryW(file.substr(0, separator).c_str(), nullptr);
    // The copy is the user's own to write, though the original may be read-only.
    CopyWhole(files_, original, path);
}

}  // namespace zelmora
