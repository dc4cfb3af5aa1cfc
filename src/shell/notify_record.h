#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

// The notify record of the tray icon, field by field as the first-version NOTIFYICONDATAA holds it.
struct NotifyRecord {
    static constexpr uint32_t kSize = 88;
    static constexpr size_t kTipBytes = 64;
    // uFlags bits.
    static constexpr uint32_t kMessageValid = 1;
    static constexpr uint32_t kIconValid = 2;
    // Shell messages.
    static constexpr uint32_t kAdd = 0;
    static constexpr uint32_t kModify = 1;
    static constexpr uint32_t kDelete = 2;

    uint32_t cbSize = 0;
    uint32_t hWnd = 0;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    uint32_t hIcon = 0;
    std::string szTip;  // UTF-8; in the record's bytes it is followed by blanks
};

// The program's record: its icon, the window that takes the shell's mouse messages (as messages 512), the
// identifier, and its tip.
NotifyRecord ProgramNotifyRecord(uint32_t window, uint32_t icon, uint32_t id, std::string tip);

// The 88 little-endian bytes handed to the shell. The tip is given in the ANSI code page; it is followed by
// blanks and cut so that the last byte of its field stays a terminator.
std::array<uint8_t, NotifyRecord::kSize> NotifyRecordBytes(const NotifyRecord& record, std::string_view ansiTip);

}  // namespace zelmora
