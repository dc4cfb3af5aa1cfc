#include "settings/win32_shortcuts.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "base/com_pointer.h"
#include "base/failure.h"
#include "base/win32_com.h"
#include "base/win32_files.h"
#include "base/win32_text.h"

namespace zelmora {

namespace {

// The shell link class, defined here so the program needs no GUID library.
constexpr CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// "ALT+CTRL+C" as the link's hot key word: the key in the low byte, the modifiers in the high byte.
WORD HotkeyWord(const std::string& text) {
    BYTE modifiers = 0;
    std::string key;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('+', start), text.size());
        const std::string part = text.substr(start, end - start);
        start = end + 1;
        if (part == "ALT")
            modifiers |= HOTKEYF_ALT;
        else if (part == "CTRL")
            modifiers |= HOTKEYF_CONTROL;
        else if (part == "SHIFT")
            modifiers |= HOTKEYF_SHIFT;
        else
            key = part;
    }
    if (key.size() != 1)
        throw Failure("hot key " + text);
    return MAKEWORD(static_cast<BYTE>(key[0]), modifiers);
}

void Check(HRESULT result, const char* what) {
    if (FAILED(result))
        throw Failure(std::string(what) + " failed");
}

}  // namespace

bool Win32Shortcuts::Exists(const std::string& path) {
    return IsVisibleEntry(Widen(path));
}

bool Win32Shortcuts::FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Shortcuts::StartupFolder() {
    wchar_t folder[MAX_PATH] = {};
    Check(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder),
          "finding the Startup folder");
    return Narrow(folder);
}

void Win32Shortcuts::Save(const std::string& path, const std::string& target, const std::string& hotkey) {
    ComPointer<IShellLinkW> link;
    Check(Com::Get().CreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW), link.Out()),
          "creating the shell link object");
    Check(link->SetPath(Widen(target).c_str()), "setting the shortcut's target");
    Check(link->SetHotkey(HotkeyWord(hotkey)), "setting the shortcut's hot key");
    ComPointer<IPersistFile> file;
    Check(link->QueryInterface(__uuidof(IPersistFile), file.Out()), "opening the shortcut file");
    Check(file->Save(Widen(path).c_str(), TRUE), "saving the shortcut");
}

void Win32Shortcuts::Delete(const std::string& path) {
    if (!DeleteFileW(Widen(path).c_str()))
        throw Failure("cannot delete " + path);
}

}  // namespace zelmora
