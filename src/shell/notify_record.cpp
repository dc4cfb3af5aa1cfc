#include "shell/notify_record.h"

#include <algorithm>
#include <utility>

namespace zelmora {

NotifyRecord ProgramNotifyRecord(uint32_t window, uint32_t icon, uint32_t id, std::string tip) {
    constexpr uint32_t kMouseMove = 512;
    return {NotifyRecord::kSize, window, id, NotifyRecord::kMessageValid | NotifyRecord::kIconValid, kMouseMove, icon,
            std::move(tip)};
}

std::array<uint8_t, NotifyRecord::kSize> NotifyRecordBytes(const NotifyRecord& record, std::string_view ansiTip) {
    std::array<uint8_t, NotifyRecord::kSize> bytes{};
    size_t offset = 0;
    for (const uint32_t field :
         {record.cbSize, record.hWnd, record.uID, record.uFlags, record.uCallbackMessage, record.hIcon}) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes[offset++] = static_cast<uint8_t>(field >> shift);
    }
    const size_t tipEnd = offset + NotifyRecord::kTipBytes - 1;
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.begin() + static_cast<std::ptrdiff_t>(tipEnd),
              ' ');
    std::copy_n(ansiTip.begin(), std::min(ansiTip.size(), NotifyRecord::kTipBytes - 1),
                bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

}  // namespace zelmora
