#pragma once

#include "shell/tray_shell.h"

namespace zelmora {

// Shell_NotifyIconA with the record in its first-version 88-byte layout, the tip in the ANSI code page.
class Win32TrayShell : public TrayShell {
public:
    int32_t NotifyIcon(uint32_t message, const NotifyRecord& record) override;
};

}  // namespace zelmora
