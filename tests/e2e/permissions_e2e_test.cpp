// Windows' permission model, as a standard user meets it, against the real program under Wine. These cases run
// as an unprivileged user, since Wine run as root ignores permissions.

#include <gtest/gtest.h>

#include "base/win32_text.h"
#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;

class Permissions : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = "C:\\zelmora-e2e\\permissions-probe";
        MakeFolders(folder);
        const UnwritableFolder locked(folder);
        const std::wstring probe = Widen(folder + "\\probe");
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            DeleteFileW(probe.c_str());
        }
        ASSERT_EQ(file, INVALID_HANDLE_VALUE)
            << "permissions are not enforced: run these cases as an unprivileged user";
    }

    // A folder the user may not write, nor the files in it, as C:\Program Files is to a standard user, for the
    // length of a case.
    class UnwritableFolder {
    public:
        explicit UnwritableFolder(std::string folder) : folder_(std::move(folder)) {
            RunShell("chmod -R a-w " + UnixPath(folder_));
        }
        ~UnwritableFolder() { RunShell("chmod -R u+w " + UnixPath(folder_)); }

    private:
        std::string folder_;
    };

    const std::string ownSettings = UserSettingsFolder() + "\\Config.ini";
};

TEST_F(Permissions, AnUnwritableProgramFolderKeepsTheSettingsInTheUsersApplicationData) {
    Zelmora app("permissions-folder", "[Auto]\r\nDel=0\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=1\r\nTMB=2\r\nTKB=3\r\n");
    const std::string besideBefore = ReadFile(app.ConfigIni());
    const UnwritableFolder locked(app.ProgramFolder());
    app.Start();
    EXPECT_EQ(app.Text("TDel"), "5") << "carried over from the file beside the program";
    EXPECT_EQ(app.Text("TGB") + app.Text("TMB") + app.Text("TKB"), "123");
    app.Type("TDel", "9");
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(ReadFile(app.ConfigIni()), besideBefore);
    EXPECT_EQ(Setting(ownSettings, "Auto", "Time"), "9");
    EXPECT_EQ(Setting(ownSettings, "Cls", "TGB"), "1");

    app.Start();
    EXPECT_EQ(app.Text("TDel"), "9") << "read back from the user's own file";
    EXPECT_EQ(app.Text("Lb1"), "");
}

TEST_F(Permissions, AReadOnlySettingsFileIsReadAndChangesGoToTheUsersApplicationData) {
    Zelmora app("permissions-read-only", kQuietSettings);
    ASSERT_TRUE(SetFileAttributesW(Widen(app.ConfigIni()).c_str(), FILE_ATTRIBUTE_READONLY));
    app.Start();
    EXPECT_EQ(app.Text("TDel"), "1");
    app.Type("TDel", "9");
    EXPECT_FALSE(ShowsABox(app));
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Time"), "1");
    EXPECT_EQ(Setting(ownSettings, "Auto", "Time"), "9");
    SetFileAttributesW(Widen(app.ConfigIni()).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Permissions, WhenNoSettingsFileCanBeWrittenTheStatusLineSaysSo) {
    Zelmora app("permissions-nowhere", kQuietSettings);
    MakeFolders(UserSettingsFolder());
    const UnwritableFolder lockedOwn(UserSettingsFolder());
    const UnwritableFolder lockedBeside(app.ProgramFolder());
    app.Start();
    EXPECT_EQ(app.Text("Lb1"), "");
    app.ChooseMenu("TCls");
    EXPECT_TRUE(Zelmora::WaitFor([&] { return app.Text("Lb1") == "无法写入设置文件：" + app.ConfigIni(); }, 10s))
        << app.Text("Lb1");
    EXPECT_EQ(app.Check("CLoad"), BST_UNCHECKED) << "the stored settings were read from beside the program";
    EXPECT_FALSE(ShowsABox(app));
}

// A folder of the cache the user may not read is told in a box that names it; the rest of the cache is cleaned.
TEST_F(Permissions, AnUnreadableFolderIsToldInABoxThatNamesIt) {
    Zelmora app("permissions-unreadable", kQuietSettings);
    app.MakeCacheFile("open\\a.jpg", 1024);
    app.MakeCacheFile("locked\\b.jpg", 1024);
    const std::string locked = UnixPath(Zelmora::CacheFolder() + "\\locked");
    RunShell("chmod 000 " + locked);
    struct Unlock {
        std::string folder;
        ~Unlock() { RunShell("chmod 755 " + folder); }
    } unlock{locked};
    app.Start();
    app.RunCycle();
    HWND box = nullptr;
    ASSERT_TRUE(Zelmora::WaitFor([&] { return (box = ShownWindow("#32770", &app)) != nullptr; }, 10s));
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    const std::string told = Narrow(text);
    EXPECT_TRUE(told.starts_with("无法读取文件夹：") && told.ends_with("\\locked")) << told;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(Zelmora::CacheExists() &&
                 GetFileAttributesW(Widen(Zelmora::CacheFolder() + "\\open").c_str()) != INVALID_FILE_ATTRIBUTES)
        << "the readable folder went";
}

}  // namespace
}  // namespace zelmora::e2e
