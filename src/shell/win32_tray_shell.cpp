#include "shell/win32_tray_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "base/win32_text.h"

namespace zelmora {

int32_t Win32TrayShell::NotifyIcon(uint32_t message, const NotifyRecord& record) {
    auto bytes = NotifyRecordBytes(record, ToAnsi(record.szTip));
    return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(bytes.data()));
}

}  // namespace zelmora
