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
    form.CLoad.SetValue(1);
    EXPECT_EQ(h.shortcuts.files,
              (std::map<std::string, std::string>{{kFixedLink, "C:\\Zelmora\\Zelmora.exe ALT+CTRL+C"}}));
    // Ticking again with the shortcut present writes it anew.
    h.shortcuts.files[kFixedLink] = "old";
    form.CLoad.SetValue(0);
    EXPECT_TRUE(h.shortcuts.files.empty());
    form.CLoad.SetValue(1);
    EXPECT_EQ(h.shortcuts.files[kFixedLink], "C:\\Zelmora\\Zelmora.exe ALT+CTRL+C");
}

TEST_F(StartupShortcut, OtherwiseTheUsersRealStartupFolderIsUsed) {
    form.CLoad.SetValue(1);
    EXPECT_TRUE(h.shortcuts.files.contains(kSystemLink));
    form.CLoad.SetValue(2);  // greyed acts as unticked
    EXPECT_TRUE(h.shortcuts.files.empty());
    form.CLoad.SetValue(0);  // nothing to remove: nothing happens
    EXPECT_TRUE(h.shortcuts.files.empty());
    EXPECT_EQ(form.Lb1.Text(), "") << "no failure";
}

// The fixed folder serves only in the user's own profile folder, and no user name leads out of it.
TEST(StartupShortcutPath, NeverInAnotherAccountsProfileNorWhereTheUserNameLeads) {
    struct Case {
        std::string user;
        std::string ownProfile;
    };
    for (const Case& c : {Case{"alice", "C:\\Users\\alice.CORP"}, Case{"..\\..\\Windows", ""}, Case{"a/b", ""},
                          Case{"c:", ""}, Case{"..", ""}}) {
        Harness h;
        const std::string profile = "C:\\Documents and Settings\\" + c.user;
        h.system.environment["USERNAME"] = c.user;
        h.system.ownProfile = c.ownProfile.empty() ? profile : c.ownProfile;
        h.shortcuts.folders.insert(profile + "\\「开始」菜单\\程序\\启动");
        h.settings.values["Auto/ALoad"] = "1";
        h.Load();
        EXPECT_EQ(h.shortcuts.files.size(), 1u) << c.user;
        EXPECT_TRUE(h.shortcuts.files.contains(kSystemLink)) << c.user;
    }
}

TEST_F(StartupShortcut, AFailureIsShownAndTheBoxKeepsTheUsersChoice) {
    h.shortcuts.fail = true;
    form.CLoad.SetValue(1);
    EXPECT_EQ(form.CLoad.Value(), 1);
    EXPECT_EQ(form.Lb1.Text(), "无法写入开机自动启动的快捷方式！");
    h.shortcuts.files[kSystemLink] = "stuck";
    form.CLoad.SetValue(0);
    EXPECT_EQ(form.CLoad.Value(), 0);
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

struct Links : ::testing::Test {
    Harness h;
    Form1& form = h.form;
};

TEST_F(Links, EachMenuLinkOpensItsOwnPageEveryTime) {
    const Form1Menu items[] = {"Tindex", "TDown", "Tweibo", "TClassDown", "Tindex"};
    for (const Form1Menu item : items)
        form.model.ClickMenu(item);
    ASSERT_EQ(h.browser.opened.size(), 5u);
    EXPECT_EQ(h.browser.opened[0], h.browser.opened[4]) << "the same link twice opens two windows";
    std::set<std::string> distinct(h.browser.opened.begin(), h.browser.opened.end());
    EXPECT_EQ(distinct.size(), 4u);
    for (const std::string& url : distinct)
        EXPECT_EQ(url.rfind("https://www.example.com/", 0), 0u) << url;
}

TEST_F(Links, ABrowserThatCannotStartIsReportedWithTheAddress) {
    h.browser.fail = true;
    form.model.ClickMenu("TDown");
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{std::string("无法打开网页：") + kProgramPage});
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(Links, TheAboutWindowIsOneObjectLoadedAtEachShow) {
    h.window.whileModal = [&](FormModel& shown) {
        auto& about = static_cast<FAboutModel&>(shown);
        about.SetCaption("changed while shown");
        about["Command1"].Click();
    };
    form.model.ClickMenu("TaboutI");
    form.model.ClickMenu("TaboutI");
    EXPECT_EQ(h.window.modalCaptions, (std::vector<std::string>{"关于版本", "关于版本"}));
    EXPECT_EQ(h.browser.opened, (std::vector<std::string>{kAuthorWeiboPage, kAuthorWeiboPage}));
}

TEST_F(Links, TheIntervalLabelShowsTheTimersInterval) {
    form.model["Label1"].Click();
    form.CDel.SetValue(1);
    form.model["Label1"].Click();
    form.model["Label2"].Click();
    EXPECT_EQ(h.messages.shown, (std::vector<std::string>{"1000", "1000"}));
}

}  // namespace
}  // namespace zelmora::testing
