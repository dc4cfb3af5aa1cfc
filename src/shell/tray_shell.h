#pragma once

#include <cstdint>

#include "shell/notify_record.h"

namespace zelmora {

// The shell's notification area.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    // Adds, modifies or deletes the icon the record names; non-zero on success.
    virtual int32_t NotifyIcon(uint32_t message, const NotifyRecord& record) = 0;
};

}  // namespace zelmora
