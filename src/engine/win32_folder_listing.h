#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/win32_nt_api.h"

namespace zelmora {

// An entry as the listing of its folder describes it.
struct ListedEntry {
    std::wstring name;
    DWORD attributes;
    DWORD reparseTag;  // of a reparse point
    int64_t length;
    int64_t fileId;  // 0 where the file system lists none

    // Wine lists a Unix link to a folder as a reparse point without a tag, and opens it as its target.
    bool IsWineLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && reparseTag == 0; }
    // Only name surrogates (symbolic links, junctions, mount points) stand for another entry; other reparse
    // points, such as deduplicated files and cloud placeholders, are the entries they look like.
    bool IsLink() const {
        return IsWineLink() || ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(reparseTag));
    }
    bool IsFolder() const { return !IsLink() && (attributes & FILE_ATTRIBUTE_DIRECTORY); }
    bool IsReadOnly() const { return attributes & FILE_ATTRIBUTE_READONLY; }
};

// Reads the entries of an open folder into entries, without "." and "..", with sizes and file IDs: no entry is
// opened. Returns the failure of the listing, or 0.
NTSTATUS ListFolder(HANDLE folder, std::vector<ListedEntry>& entries);

}  // namespace zelmora
