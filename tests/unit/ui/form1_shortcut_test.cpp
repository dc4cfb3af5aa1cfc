#include <gtest/gtest.h>

#include "harness.h"

namespace zelmora::testing {
namespace {

const std::string kFixedFolder = "C:\\Documents and Settings\\alice\\「开始」菜单\\程序\\启动";
const std::string kFixedLink = kFixedFolder + "\\Zelmora.lnk";
const std::string kSystemLink = "C:\\Users\\alice\\Startup\\Zelmora.lnk";

struct StartupShortcut : ::testing::Test {
    Harness h;
    Form1& form = h.form;

    void SetUp() override {
        h.settings.values["Auto/ALoad"] = "0";
        h.Load();
    }
};

TEST_F(StartupShortcut, TickingWritesItInTheOldFixedFolderWhereThatExists) {
    h.shortcuts.folders.insert(kFixedFolder);
    form.CLoad.SetValue(CheckState::Ticked);
    EXPECT_EQ(h.shortcuts.files,
              (std::map<std::string, std::string>{{kFixedLink, "C:\\Zelmora\\Zelmora.exe ALT+CTRL+C"}}));
    // Ticking again with the shortcut present writes it anew.
    h.shortcuts.files[kFixedLink] = "old";
    form.CLoad.SetValue(CheckState::Unticked);
    EXPECT_TRUE(h.shortcuts.files.empty());
    form.CLoad.SetValue(CheckState::Ticked);
    EXPECT_EQ(h.shortcuts.files[kFixedLink], "C:\\Zelmora\\Zelmora.exe ALT+CTRL+C");
}

TEST_F(StartupShortcut, OtherwiseTheUsersRealStartupFolderIsUsed) {
    form.CLoad.SetValue(CheckState::Ticked);
    EXPECT_TRUE(h.shortcuts.files.contains(kSystemLink));
    form.CLoad.SetValue(CheckState::Greyed);  // greyed acts as unticked
    EXPECT_TRUE(h.shortcuts.files.empty());
    form.CLoad.SetValue(CheckState::Unticked);  // nothing to remove: nothing happens
    EXPECT_TRUE(h.shortcuts.files.empty());
    EXPECT_EQ(form.Lb1.Text(), "") << "no failure";
}

TEST_F(StartupShortcut, AFailureIsShownAndTheBoxKeepsTheUsersChoice) {
    h.shortcuts.fail = true;
    form.CLoad.SetValue(CheckState::Ticked);
    EXPECT_EQ(form.CLoad.Value(), CheckState::Ticked);
    EXPECT_EQ(form.Lb1.Text(), "无法写入开机自动启动的快捷方式！");
    h.shortcuts.files[kSystemLink] = "stuck";
    form.CLoad.SetValue(CheckState::Unticked);
    EXPECT_EQ(form.CLoad.Value(), CheckState::Unticked);
    EXPECT_EQ(form.Lb1.Text(), "无法删除开机自动启动的快捷方式！");
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(StartupShortcut, AStoredChoiceIsAppliedAtEveryStart) {
    h.settings.values["Auto/ALoad"] = "1";
    h.Load();
    EXPECT_TRUE(h.shortcuts.files.contains(kSystemLink));

    Harness removing;
    removing.shortcuts.files[kSystemLink] = "old";
    removing.settings.values["Auto/ALoad"] = "2";
    removing.Load();
    EXPECT_TRUE(removing.shortcuts.files.empty());
}

}  // namespace
}  // namespace zelmora::testing
