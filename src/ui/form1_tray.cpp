#include <cmath>

#include "ui/form1.h"
#include "ui/program_texts.h"

namespace zelmora {

// Fills the record and adds the icon. A failure in any step is retried once, with a new identifier.
int32_t Form1::SetInTaskBar() {
    try {
        return AddIcon();
    } catch (...) {
        return AddIcon();
    }
}

int32_t Form1::AddIcon() {
    const uint32_t icon = services_.window.PictureHandle(model.Named<"pic(0)">().Description());
    const uint32_t window = services_.window.WindowHandle(picMouseEvent.Description());
    const auto id = static_cast<uint32_t>(std::fabs(std::floor(random_.Next() * 2147483648.0 - 1)));
    notifyRecord = ProgramNotifyRecord(window, icon, id, texts::kTrayTip);
    return services_.tray.NotifyIcon(NotifyRecord::kAdd, notifyRecord);
}

int32_t Form1::DeleteIcon() {
    notifyRecord.uFlags = NotifyRecord::kIconValid;
    services_.tray.NotifyIcon(NotifyRecord::kDelete, notifyRecord);
    return 0;
}

// The shell reports mouse messages over the icon as X = message number x 15; only the low byte is compared.
void Form1::picMouseEvent_MouseMove(int16_t, int16_t, float x, float) {
    const auto lowByte = static_cast<int64_t>(std::nearbyint(x)) & 255;
    if (lowByte == 45)  // 515, left double-click
        ShowFromTray();
    else if (lowByte == 75)  // 517, right button released
        services_.window.PopupMenu(Form1Menu("TFile").Description());
}

void Form1::ShowFromTray() {
    tChangePic.SetEnabled(false);
    services_.window.SetState(WindowState::Normal);
    services_.window.Show();
}

void Form1::Form_Resize() {
    if (services_.window.State() != WindowState::Minimised)
        return;
    tChangePic.SetEnabled(true);
    services_.window.Hide();
}

// Re-sends the same icon; an icon the shell no longer knows is added again with the same record.
void Form1::tChangePic_Timer() {
    notifyRecord.hIcon = services_.window.PictureHandle(model.Named<"pic(0)">().Description());
    notifyRecord.uFlags = NotifyRecord::kMessageValid | NotifyRecord::kIconValid;
    if (services_.tray.NotifyIcon(NotifyRecord::kModify, notifyRecord) == 0)
        services_.tray.NotifyIcon(NotifyRecord::kAdd, notifyRecord);
}

// A restarted shell has lost every icon: add ours again as it was.
void Form1::Shell_TaskbarCreated() {
    notifyRecord.uFlags = NotifyRecord::kMessageValid | NotifyRecord::kIconValid;
    services_.tray.NotifyIcon(NotifyRecord::kAdd, notifyRecord);
}

}  // namespace zelmora
