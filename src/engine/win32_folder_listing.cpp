#include "engine/win32_folder_listing.h"

#include <string_view>

namespace zelmora {

NTSTATUS ListFolder(HANDLE folder, std::vector<ListedEntry>& entries) {
    alignas(8) static thread_local unsigned char buffer[64 * 1024];
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer, sizeof buffer,
                                                     FileIdBothDirectoryInformation, FALSE, nullptr, restart);
        if (status == nt::kNoMoreFiles || status == nt::kNoSuchFile || (NT_SUCCESS(status) && io.Information == 0))
            return 0;
        if (!NT_SUCCESS(status))
            return status;
        for (size_t offset = 0;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFORMATION*>(buffer + offset);
            const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                // The EaSize field of a reparse point holds its tag.
                entries.push_back({std::wstring(name), info->FileAttributes,
                                   (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? info->EaSize : 0,
                                   info->EndOfFile.QuadPart, info->FileId.QuadPart});
            }
            if (info->NextEntryOffset == 0)
                break;
            offset += info->NextEntryOffset;
        }
    }
}

}  // namespace zelmora
