#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/notify_record.h"

namespace zelmora {
namespace {

TEST(NotifyRecordBytes, LayOutTheFirstVersionRecord) {
    NotifyRecord record;
    record.cbSize = 88;
    record.hWnd = 0x00010203;
    record.uID = 1515151743;
    record.uFlags = 3;
    record.uCallbackMessage = 512;
    record.hIcon = 0xA0B0C0D0;
    const std::string gbkTip = "\xCA\xB9\xD3\xC3\xCF\xB5\xCD\xB3\xCD\xD0\xC5\xCC\xB3\xCC\xD0\xF2";
    const auto bytes = NotifyRecordBytes(record, gbkTip);
    const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 24);
    EXPECT_EQ(head, (std::vector<uint8_t>{88, 0, 0, 0, 3, 2, 1, 0, 0x7F, 0x61, 0x4F, 0x5A,
                                          3,  0, 0, 0, 0, 2, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0}));
    EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 40), gbkTip);
    EXPECT_EQ(std::string(bytes.begin() + 40, bytes.begin() + 87), std::string(47, ' '));
    EXPECT_EQ(bytes[87], 0);
}

}  // namespace
}  // namespace zelmora
