#include <gtest/gtest.h>

#include "harness.h"

namespace zelmora::testing {
namespace {

// The timers that would wake the program.
std::vector<std::string> EnabledTimers(const FormModel& model) {
    std::vector<std::string> names;
    for (const auto& control : model.Controls()) {
        if (control->Description().kind == ControlKind::Timer && control->Enabled())
            names.emplace_back(control->Description().name);
    }
    return names;
}

struct Lifecycle : ::testing::Test {
    Harness h;
    Form1& form = h.form;

    void Store(const std::string& key, const std::string& value) { h.settings.values[key] = value; }
    void Load() {
        form.model.RaiseFormEvent(FormEvent::Load);
        ASSERT_TRUE(h.failures.empty());
    }
};

TEST_F(Lifecycle, FirstStartWithoutSettings) {
    Load();
    EXPECT_EQ(h.settings.path, "C:\\Zelmora\\Config.ini");
    EXPECT_EQ(form.model.Caption(), "ZelmoraV2.0");
    EXPECT_EQ(form.Ccls.Text(), "立即清理");
    EXPECT_EQ(form.CDel.Text(), "自动清除");
    EXPECT_EQ(form.CLoad.Text(), "开机自动启动");
    EXPECT_EQ(form.Lb1.Text(), "");
    EXPECT_EQ(form.Tx1.Text(), "");
    EXPECT_EQ(form.CDel.Value(), CheckState::Unticked) << "the offered default 10 is no state: unticked";
    EXPECT_TRUE(EnabledTimers(form.model).empty()) << "idle with auto clear off: no timer wakes it";
    EXPECT_EQ(form.CLoad.Value(), CheckState::Ticked);
    EXPECT_EQ(form.TDel.Text(), "1");
    EXPECT_EQ(form.LTime.Text(), "60");
    EXPECT_EQ(form.TGB.Text(), "0");
    EXPECT_EQ(form.TMB.Text(), "0");
    EXPECT_EQ(form.TKB.Text(), "0");
    EXPECT_TRUE(h.settings.writes.empty());
}

TEST_F(Lifecycle, StoredSettingsBringTheProgramIntoLine) {
    Store("Auto/Del", "1");
    Store("Auto/ALoad", "0");
    Store("Auto/Time", "15");
    Store("Cls/TGB", "2");
    Store("Cls/TMB", "300");
    Store("Cls/TKB", "12");
    Load();
    EXPECT_EQ(EnabledTimers(form.model), std::vector<std::string>{"Tm1"});
    EXPECT_EQ(form.CLoad.Value(), CheckState::Unticked);
    EXPECT_EQ(form.LTime.Text(), "900");
    EXPECT_EQ(form.TMB.Text(), "300");
    EXPECT_TRUE(h.settings.writes.empty());
}

TEST_F(Lifecycle, AnIntervalWithoutANumberLeavesThePlaceholderCountdown) {
    Store("Auto/Time", "0");
    Load();
    EXPECT_EQ(form.TDel.Text(), "0");
    EXPECT_EQ(form.LTime.Text(), "LTime");
}

TEST_F(Lifecycle, CheckBoxStatesOtherThanZeroOneOrTwoCountAsZero) {
    for (const char* stored : {"5", "abc", "", "-1", "1.5", "10"}) {
        Harness fresh;
        fresh.settings.values["Auto/Del"] = stored;
        fresh.settings.values["Auto/ALoad"] = stored;
        fresh.form.model.RaiseFormEvent(FormEvent::Load);
        EXPECT_EQ(fresh.form.CDel.Value(), CheckState::Unticked) << stored;
        EXPECT_EQ(fresh.form.CLoad.Value(), CheckState::Unticked) << stored;
        EXPECT_TRUE(fresh.failures.empty());
    }
    Store("Auto/Del", "2");
    Load();
    EXPECT_EQ(form.CDel.Value(), CheckState::Greyed);
    EXPECT_FALSE(form.Tm1.Enabled());
}

TEST_F(Lifecycle, AHandEditedMegabyteTotalIsCarriedWithoutLosingTheStoredKilobytes) {
    Store("Cls/TGB", "1");
    Store("Cls/TMB", "1030");
    Store("Cls/TKB", "500");
    Load();
    EXPECT_EQ(form.TGB.Text(), "2");
    EXPECT_EQ(form.TMB.Text(), "6");
    EXPECT_EQ(form.TKB.Text(), "500");
    EXPECT_EQ(h.settings.writes, (std::vector<std::string>{"Cls/TGB=2", "Cls/TMB=6", "Cls/TKB=500"}));
}

TEST_F(Lifecycle, UnloadWritesTheSixKeysInOrder) {
    Load();
    form.CDel.SetValue(CheckState::Ticked);
    form.CLoad.SetValue(CheckState::Unticked);
    form.TDel.SetText(" 15 min");
    form.TKB.SetText("12abc");
    h.settings.writes.clear();
    form.model.RaiseFormEvent(FormEvent::Unload);
    EXPECT_EQ(h.settings.writes, (std::vector<std::string>{"Auto/Del=1", "Auto/Time=15", "Auto/ALoad=0", "Cls/TGB=0",
                                                           "Cls/TMB=0", "Cls/TKB=12abc"}));
    for (auto [typed, stored] : std::vector<std::pair<const char*, const char*>>{{"letters", "0"}, {"2.5", "2.5"}}) {
        form.TDel.SetText(typed);
        form.model.RaiseFormEvent(FormEvent::Unload);
        EXPECT_EQ(h.settings.values["Auto/Time"], stored);
    }
}

// A save that fails is told, naming the file, and what it held goes with the next save that succeeds.
TEST_F(Lifecycle, AFailedSaveIsToldAndItsValuesGoWithTheNextSave) {
    Load();
    h.settings.failingSaves = 1;
    form.TCls_Click();
    EXPECT_EQ(form.Lb1.Text(), "无法写入设置文件：C:\\Zelmora\\Config.ini");
    EXPECT_TRUE(h.settings.saves.empty());
    form.TDel.SetText("7");
    form.model.RaiseFormEvent(FormEvent::Unload);
    EXPECT_EQ(h.settings.saves, (std::vector<std::vector<std::string>>{{"Cls/TGB=0", "Cls/TMB=0", "Cls/TKB=0",
                                                                        "Auto/Del=0", "Auto/Time=7", "Auto/ALoad=1"}}));
}

TEST_F(Lifecycle, ExitClosesTheWindowSoTheUnloadSequenceRuns) {
    Load();
    form.model.ClickMenu("TExit");
    EXPECT_EQ(h.window.closed, 1);
}

}  // namespace
}  // namespace zelmora::testing
