#include "base/number_text.h"
#include "base/user_name.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

// A stored check box state: 0, 1 or 2; anything else (the offered default 10 included) counts as 0.
int CheckState(const std::string& text) {
    if (text == "1" || text == "2")
        return text[0] - '0';
    return 0;
}

}  // namespace

void Form1::Form_Load() {
    FindUserFolders();
    IniPath = SettingsPath();
    CycleCount = 1;
    Ccls.SetText("立即清理");
    CDel.SetText("自动清除");
    CLoad.SetText("开机自动启动");
    model.SetCaption("ZelmoraV2.0");
    Lb1.SetText("");
    Tx1.SetText("");

    CDel.SetValue(CheckState(ReadWriteIni("Auto", "Del", "10", IniMode::Read)));
    CLoad.SetValue(CheckState(ReadWriteIni("Auto", "ALoad", "1", IniMode::Read)));
    TDel.SetText(ReadWriteIni("Auto", "Time", "1", IniMode::Read));

    // A carry while the totals load would store the placeholders of the boxes not loaded yet: the saves
    // wait until all three hold their stored values.
    deferTotalsSave_ = true;
    TGB.SetText(ReadWriteIni("Cls", "TGB", "0", IniMode::Read));
    TMB.SetText(ReadWriteIni("Cls", "TMB", "0", IniMode::Read));
    TKB.SetText(ReadWriteIni("Cls", "TKB", "0", IniMode::Read));
    deferTotalsSave_ = false;
    savedTotals_ = Totals();
    if (totalsSaveDeferred_) {
        totalsSaveDeferred_ = false;
        SaveTotals();
    }
    SetInTaskBar();
}

// The user's own folders are asked for once: the application data may be a redirected network folder, and
// asking blocks the window. The old fixed profile path serves only where it is the user's own profile folder:
// a user name does not identify a profile, and another account's folder of that name is not the user's.
void Form1::FindUserFolders() {
    userFolders_.appData = services_.system.AppDataFolder();
    const std::string user = services_.system.Environment("USERNAME");
    const std::string fixed = "C:\\Documents and Settings\\" + user;
    userFolders_.fixedProfile =
        !user.empty() && IsSafeUserName(user) && services_.system.IsOwnProfileFolder(fixed) ? fixed : "";
}

void Form1::Form_Unload() {
    StopCycle();
    DeleteIcon();
    ReadWriteIni("Auto", "Del", std::to_string(CDel.Value()), IniMode::Write);
    ReadWriteIni("Auto", "Time", DecimalText(NumericValue(TDel.Text())), IniMode::Write);
    ReadWriteIni("Auto", "ALoad", std::to_string(CLoad.Value()), IniMode::Write);
    SaveTotals();
}

// Exit runs the same unload sequence as closing the window, so no setting changed since start-up is lost.
void Form1::TExit_Click() {
    services_.window.Close();
}

}  // namespace zelmora
