#include <gtest/gtest.h>

#include "fake_settings.h"
#include "settings/startup_link.h"

namespace zelmora::testing {
namespace {

// The old fixed Startup folder only in the user's own profile folder, and only where it exists.
TEST(StartupLinkPath, TheFixedFolderOfTheUsersOwnProfileWhereItExistsElseTheRealOne) {
    const std::string profile = "C:\\Documents and Settings\\alice";
    const std::string fixedFolder = profile + "\\「开始」菜单\\程序\\启动";
    const std::string real = "C:\\Users\\alice\\Startup\\Zelmora.lnk";
    struct Case {
        std::string fixedProfile;
        bool fixedFolderExists;
        std::string path;
    };
    for (const Case& c :
         {Case{profile, true, fixedFolder + "\\Zelmora.lnk"}, Case{profile, false, real}, Case{"", true, real}}) {
        FakeShortcuts shortcuts;
        if (c.fixedFolderExists)
            shortcuts.folders.insert(c.fixedProfile + "\\「开始」菜单\\程序\\启动");
        EXPECT_EQ(StartupLinkPath(shortcuts, c.fixedProfile), c.path) << c.fixedProfile << c.fixedFolderExists;
    }
}

}  // namespace
}  // namespace zelmora::testing
