#include <algorithm>

#include "base/number_text.h"
#include "settings/settings_path.h"
#include "settings/settings_table.h"
#include "ui/form1.h"
#include "ui/program_texts.h"

namespace zelmora {

void Form1::Form_Load() {
    userFolders_ = FindUserFolders(services_.system);
    IniPath = SettingsPath(services_.settings, services_.system.ProgramDirectory(), userFolders_.appData);
    CycleCount = 1;
    Ccls.SetText(texts::kCleanNow);
    CDel.SetText(texts::kAutoClear);
    CLoad.SetText(texts::kStartAtLogOn);
    model.SetCaption(texts::kTitle);
    Lb1.SetText("");
    Tx1.SetText("");

    CDel.SetValue(static_cast<CheckState>(CheckStateOf(ReadWriteIni(Setting("Del"), IniMode::Read))));
    CLoad.SetValue(static_cast<CheckState>(CheckStateOf(ReadWriteIni(Setting("ALoad"), IniMode::Read))));
    TDel.SetText(ReadWriteIni(Setting("Time"), IniMode::Read));

    // A carry while the totals load would store the placeholders of the boxes not loaded yet: the saves
    // wait until all three hold their stored values.
    const OpenSave save(*this);
    deferTotalsSave_ = true;
    TGB.SetText(ReadWriteIni(Setting("TGB"), IniMode::Read));
    TMB.SetText(ReadWriteIni(Setting("TMB"), IniMode::Read));
    TKB.SetText(ReadWriteIni(Setting("TKB"), IniMode::Read));
    deferTotalsSave_ = false;
    savedTotals_ = Totals();
    if (totalsSaveDeferred_) {
        totalsSaveDeferred_ = false;
        SaveTotals();
    }
    SetInTaskBar();
}

// One save: the totals of a cycle stopped here and the six keys.
void Form1::Form_Unload() {
    const OpenSave save(*this);
    StopCycle();
    DeleteIcon();
    ReadWriteIni(Setting("Del"), IniMode::Write, DecimalText(static_cast<int>(CDel.Value())));
    ReadWriteIni(Setting("Time"), IniMode::Write, TDel.Text());
    ReadWriteIni(Setting("ALoad"), IniMode::Write, DecimalText(static_cast<int>(CLoad.Value())));
    SaveTotals();
}

// Exit runs the same unload sequence as closing the window, so no setting changed since start-up is lost.
void Form1::TExit_Click() {
    services_.window.Close();
}

std::string Form1::ReadWriteIni(const SettingKey& setting, IniMode mode, const std::string& value) {
    if (mode == IniMode::Read)
        return services_.settings.Read(setting.section, setting.key, setting.defaultValue, IniPath);
    const OpenSave save(*this);
    StoredValue stored{setting.section, setting.key, StoredText(setting, value)};
    const auto same = [&](const StoredValue& other) {
        return other.section == stored.section && other.key == stored.key;
    };
    if (const auto earlier = std::find_if(unsaved_.begin(), unsaved_.end(), same); earlier != unsaved_.end())
        *earlier = std::move(stored);
    else
        unsaved_.push_back(std::move(stored));
    return {};
}

// "Saved" means written: what a failed save held stays unsaved, told, and goes with the next save.
void Form1::SaveUnsaved() {
    if (unsaved_.empty())
        return;
    if (services_.settings.Save(unsaved_, IniPath))
        unsaved_.clear();
    else
        Lb1.SetText(texts::SettingsNotWritten(IniPath));
}

}  // namespace zelmora
