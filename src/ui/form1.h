#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/system.h"
#include "engine/cache_cleaning.h"
#include "engine/file_system.h"
#include "engine/freed_space.h"
#include "engine/worker.h"
#include "settings/settings_store.h"
#include "settings/settings_table.h"
#include "settings/shortcuts.h"
#include "shell/notify_record.h"
#include "shell/tray_shell.h"
#include "shell/web_links.h"
#include "ui/fabout.h"
#include "ui/form1_description.h"
#include "ui/form_model.h"
#include "ui/message_box.h"
#include "ui/window_host.h"

namespace zelmora {

using Form1Model = DescribedForm<kForm1Description>;

// The platform services the main window's handlers use.
struct Form1Services {
    FileSystemFactory& fileSystems;
    SettingsStore& settings;
    System& system;
    MessageBoxes& messages;
    WindowHost& window;
    TrayShell& tray;
    Shortcuts& shortcuts;
    Browser& browser;
    Worker& worker;
};

// The main window: its controls are the program's state, its handlers the program's behaviour. The handlers
// (ui/form1_*.cpp) call on the services below: engine/ (the cleaning), settings/ (the settings file, the Startup
// shortcut), shell/ (the tray, the links). The program's own rules live here too: what a finished cycle counts and
// tells (FinishCycle), when the totals are saved (the load's deferral, the open saves), how the tray's clicks are
// read (picMouseEvent_MouseMove).
class Form1 {
public:
    Form1(const Form1Services& services, EventDispatch& dispatch);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    Form1Model model;
    TextBox Tx1;
    ListBox List1;
    TextBox TKB;
    TextBox TMB;
    TextBox TGB;
    CheckBox CLoad;
    CommandButton Ccls;
    Timer Tm1;
    TextBox TDel;
    CheckBox CDel;
    Label LTime;
    Label Lb1;
    Timer tChangePic;
    PictureBox picMouseEvent;

    // Cleaning cycle and the record of its measurement.
    void Tm1_Timer();
    void CycleNews();
    void FolderlenRec(std::deque<std::string> folderLines);

    // Clean now, auto clear, the interval and its label; the freed-space totals.
    void Ccls_Click();
    void CDel_Click();
    void TDel_Change();
    void Label1_Click();
    void TKB_Change();
    void TMB_Change();
    void TCls_Click();
    void SaveTotals();

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    void TExit_Click();

    // Tray icon.
    int32_t SetInTaskBar();
    int32_t DeleteIcon();
    void picMouseEvent_MouseMove(int16_t button, int16_t shift, float x, float y);
    void Form_Resize();
    void tChangePic_Timer();
    void Shell_TaskbarCreated();

    // Start-at-log-on shortcut.
    enum class LinkMode { Make, del };
    void CLoad_Click();
    void MakeStartupLink(LinkMode mode);

    // Web links and the About window.
    void OpenUrl(const std::string& url);
    void Tindex_Click();
    void TDown_Click();
    void Tweibo_Click();
    void TClassDown_Click();
    void TaboutI_Click();

    // Settings file access: Read gives the stored text, or the table's default where there is none; Write
    // stores the value given, in the setting's stored form.
    enum class IniMode { Read, Write };
    std::string ReadWriteIni(const SettingKey& setting, IniMode mode, const std::string& value = {});

private:
    using TotalsTexts = std::array<std::string, 3>;  // GB, MB, KB

    // The settings written while a save is open go to the file together, once the outermost save closes: a carry's
    // nested saves store one total, and the unload's six keys land at once.
    class OpenSave {
    public:
        explicit OpenSave(Form1& form) : form_(form) { ++form_.openSaves_; }
        OpenSave(const OpenSave&) = delete;
        OpenSave& operator=(const OpenSave&) = delete;
        ~OpenSave() {
            if (--form_.openSaves_ == 0)
                form_.SaveUnsaved();
        }

    private:
        Form1& form_;
    };

    void FinishCycle();
    WholeUnits CountFreed(int64_t bytes);
    void TellCycle(const std::string& outcome);
    void TellUnreadableLevels();
    void StopCycle();
    void ReloadCountdown();
    TotalsTexts Totals() const;
    void StoreChangedTotals();
    void SaveUnsaved();
    void CarryInto(TextBox part, TextBox next);
    void ShowFromTray();
    int32_t AddIcon();

    Form1Services services_;
    EventDispatch& dispatch_;

    // Window-level values.
    std::string IniPath;
    int16_t CycleCount = 0;
    NotifyRecord notifyRecord;
    UserFolders userFolders_;

    std::unique_ptr<FAbout> about_;
    Random random_;
    // The running cycle's, while it runs.
    std::unique_ptr<CleaningHandOver> cycle_;
    std::string cycleTimeStamp_;
    std::vector<std::string> levelsToTell_;  // the paths of the levels that could not be read
    bool levelBoxOpen_ = false;
    TotalsTexts savedTotals_;
    bool deferTotalsSave_ = false;
    bool totalsSaveDeferred_ = false;
    // Written, not yet saved: kept until a save succeeds, so the next one tries them again.
    std::vector<StoredValue> unsaved_;
    int openSaves_ = 0;
};

}  // namespace zelmora
