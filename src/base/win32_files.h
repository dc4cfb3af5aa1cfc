#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

// A handle that lets every other program read, write, rename and delete the file meanwhile.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Whether an entry is there and is neither hidden nor system: an entry a plain Dir() lookup finds.
inline bool IsVisibleEntry(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

}  // namespace zelmora
