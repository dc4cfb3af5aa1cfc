#include <gtest/gtest.h>

#include "base/win32_text.h"
#include "ui/form_description.h"
#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;

std::string TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Narrow(text);
}

HWND WaitForShownWindow(const std::string& className, const Zelmora* app = nullptr) {
    HWND window = nullptr;
    Zelmora::WaitFor([&] { return (window = ShownWindow(className, app)) != nullptr; }, 20s);
    return window;
}

void Minimise(Zelmora& app) {
    PostMessageW(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Zelmora::WaitFor([&] { return !IsWindowVisible(app.Window()); }, 10s)) << "hidden into the tray";
}

HWND ShownPopupMenu() {
    HWND menu = nullptr;
    Zelmora::WaitFor(
        [&] {
            menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        },
        10s);
    return menu;
}

TEST(Tray, MinimisingHidesTheWindowAndADoubleClickOnTheIconBringsItBack) {
    Zelmora app("tray-restore", kQuietSettings);
    app.Start();
    Minimise(app);
    EXPECT_EQ(GetWindowLongW(app.Window(), GWL_STYLE) & WS_VISIBLE, 0) << "no taskbar button for a hidden window";
    ClickTrayIcon(1, 2);
    ASSERT_TRUE(Zelmora::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }, 10s));
}

TEST(Tray, At144DotsPerInchTheWindowScalesByOneAndAHalfAndTheIconStillAnswers) {
    const UserRegistryValue dpi(L"Control Panel\\Desktop", L"LogPixels", 144);
    Zelmora app("tray-144-dpi", kQuietSettings);
    app.Start();
    RECT client{};
    GetClientRect(app.Window(), &client);
    EXPECT_EQ(client.right, 723) << "7230 twips";
    RECT tdel{};
    GetWindowRect(app.Control("TDel"), &tdel);
    EXPECT_EQ(tdel.bottom - tdel.top, 27) << "270 twips";
    Minimise(app);
    ClickTrayIcon(1, 2);
    ASSERT_TRUE(Zelmora::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }, 10s));
}

TEST(Tray, TheIconsMenuOffersExitWhichWritesTheSettingsAndEnds) {
    Zelmora app("tray-exit", kQuietSettings);
    app.Start();
    app.Type("TDel", "7");
    Minimise(app);
    ClickTrayIcon(3, 1);
    const HWND menu = ShownPopupMenu();
    ASSERT_NE(menu, nullptr) << "the File menu pops up";
    RunAndWait("/usr/bin/xdotool key Down Return");
    app.WaitForExit();
    const std::string settings = ReadFile(app.ConfigIni());
    EXPECT_NE(settings.find("Time=7"), std::string::npos) << settings;
    EXPECT_NE(settings.find("TKB=0"), std::string::npos) << settings;
}

// The platform the fixed paths come from: with Wine reporting Windows XP (5.1.2600), a cycle, the tray and the
// settings work as they do on later versions.
TEST(WindowsXp, ACycleTheTrayAndTheSettings) {
    const UserRegistryValue xp(L"Software\\Wine", L"Version", L"winxp");
    Zelmora app("windows-xp", "[Auto]\r\nDel=1\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=1023\r\nTKB=0\r\n");
    app.MakeCacheFile("a\\1.jpg", 600 * 1024);
    app.MakeCacheFile("2.jpg", 600 * 1024);
    app.Start();
    EXPECT_TRUE(Zelmora::WaitFor([&] { return app.Text("LTime") == "299"; }, 5s)) << "counting down five minutes";
    app.Click("Ccls");
    ASSERT_FALSE(app.Report().empty());
    EXPECT_NE(app.Text("Lb1").find(" 删除成功!已释放 1MB 空间."), std::string::npos) << app.Text("Lb1");
    EXPECT_FALSE(app.CacheExists());
    EXPECT_EQ(app.Text("TGB") + "/" + app.Text("TMB"), "1/0") << "the megabyte carried into a gigabyte";

    Minimise(app);
    ClickTrayIcon(1, 2);
    ASSERT_TRUE(Zelmora::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }, 10s));

    app.Type("TDel", "7");
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(ReadFile(app.ConfigIni()),
              "[Auto]\r\nDel=1\r\nTime=7\r\nALoad=0\r\n[Cls]\r\nTGB=1\r\nTMB=0\r\nTKB=0\r\n");
}

// The start-at-log-on shortcut as the shell and lnkinfo see it.
class StartupShortcut {
public:
    explicit StartupShortcut(std::string path) : path_(std::move(path)) { DeleteFileW(Widen(path_).c_str()); }
    ~StartupShortcut() { DeleteFileW(Widen(path_).c_str()); }

    bool Exists() const { return GetFileAttributesW(Widen(path_).c_str()) != INVALID_FILE_ATTRIBUTES; }

    // What lnkinfo (not our code) reads from the file.
    std::string LnkInfo() const {
        const std::string report = "C:\\zelmora-e2e\\lnkinfo.txt";
        RunShell("lnkinfo " + UnixPath(path_) + " > " + UnixPath(report) + " 2>&1");
        return ReadFile(report);
    }

    // The shell link header keeps the hot key at offset 0x40: virtual key, then modifiers.
    std::pair<int, int> HotKey() const {
        const std::string bytes = ReadFile(path_);
        if (bytes.size() < 0x42)
            return {-1, -1};
        return {static_cast<unsigned char>(bytes[0x40]), static_cast<unsigned char>(bytes[0x41])};
    }

private:
    std::string path_;
};

// The old fixed Startup folder of a Simplified Chinese Windows XP, in the user's own profile: made for the length
// of a case.
class FixedStartupFolder {
public:
    explicit FixedStartupFolder(const std::string& profile) : folder_(profile + "\\「开始」菜单") {
        MakeFolders(Path());
    }
    ~FixedStartupFolder() { RunShell("rm -rf " + UnixPath(folder_)); }
    std::string Path() const { return folder_ + "\\程序\\启动"; }

private:
    std::string folder_;
};

TEST(StartAtLogOn, TickingWritesTheShortcutInTheOldFixedFolderAndUntickingRemovesIt) {
    const FixedStartupFolder folder("C:\\Documents and Settings\\" + UserName());
    const StartupShortcut shortcut(folder.Path() + "\\Zelmora.lnk");
    Zelmora app("startup-fixed", kQuietSettings);
    app.Start();
    ASSERT_FALSE(shortcut.Exists());

    app.Click("CLoad");
    ASSERT_TRUE(Zelmora::WaitFor([&] { return shortcut.Exists(); }, 10s));
    EXPECT_EQ(app.Check("CLoad"), BST_CHECKED);
    const std::string info = shortcut.LnkInfo();
    EXPECT_NE(info.find(app.ProgramFolder() + "\\Zelmora.exe"), std::string::npos) << info;
    EXPECT_EQ(shortcut.HotKey(), std::make_pair(0x43, 0x06)) << "Ctrl+Alt+C";

    app.Click("CLoad");
    EXPECT_TRUE(Zelmora::WaitFor([&] { return !shortcut.Exists(); }, 10s));
    EXPECT_EQ(app.Check("CLoad"), BST_UNCHECKED);
    EXPECT_EQ(app.Text("Lb1"), "");
}

TEST(StartAtLogOn, WithoutTheFixedFolderAStoredChoiceRewritesTheShortcutInTheRealStartupFolderAtStart) {
    const StartupShortcut shortcut(StartupFolder() + "\\Zelmora.lnk");
    Zelmora app("startup-real", "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=1\r\n");
    app.Start();
    ASSERT_TRUE(Zelmora::WaitFor([&] { return shortcut.Exists(); }, 10s));
    EXPECT_EQ(app.Check("CLoad"), BST_CHECKED);
    const std::string info = shortcut.LnkInfo();
    EXPECT_NE(info.find(app.ProgramFolder() + "\\Zelmora.exe"), std::string::npos) << info;
    EXPECT_EQ(shortcut.HotKey(), std::make_pair(0x43, 0x06));
}

// Log-off from the tray: the settings changed during the session are written, as closing the window does.
TEST(Session, TheEndOfTheSessionWritesTheSettings) {
    Zelmora app("end-session", "[Auto]\r\nDel=0\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=3\r\nTKB=0\r\n");
    app.Start();
    app.Click("CDel");
    app.Type("TDel", "12");
    Minimise(app);
    // Wine's session end also starts what the Startup folder holds: a shortcut left by another case would
    // start a program that is not under test.
    const StartupShortcut leftOver(StartupFolder() + "\\Zelmora.lnk");
    RunAndWait("wineboot.exe --end-session");
    app.WaitForExit();
    EXPECT_EQ(ReadFile(app.ConfigIni()),
              "[Auto]\r\nDel=1\r\nTime=12\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=3\r\nTKB=0\r\n");
}

// An installer that needs the program's file closes it through the Restart Manager, from another process.
TEST(Session, AnInstallersCloseWritesTheSettingsAndEndsTheProgram) {
    Zelmora app("installer-close", kQuietSettings);
    app.Start();
    app.Type("TDel", "9");
    constexpr LPARAM kCloseApp = 0x1;  // ENDSESSION_CLOSEAPP
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, kCloseApp, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(app.Window(), WM_ENDSESSION, TRUE, kCloseApp, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(Zelmora::WaitFor([&] { return !app.Running(); }, 5s)) << "the program ends";
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Time"), "9");
}

TEST(Session, ASecondStartShowsTheRunningCopyAndEnds) {
    Zelmora app("single-first", kQuietSettings);
    app.Start();
    Minimise(app);
    Zelmora second("single-second");
    second.Launch();
    second.WaitForExit();
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(Zelmora::WaitFor([&] { return IsWindowVisible(app.Window()) && !IsIconic(app.Window()); }, 10s));
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(GetFileAttributesW(Widen(second.ConfigIni()).c_str()), INVALID_FILE_ATTRIBUTES)
        << "the second copy wrote no settings";
}

TEST(About, ItsWindowBlocksTheMainWindowWhileTheCountdownRunsAndOpensAgain) {
    Zelmora app("about", "[Auto]\r\nDel=1\r\nTime=1\r\nALoad=0\r\n");
    app.Start();
    for (int opening = 0; opening < 2; ++opening) {
        app.ChooseMenu("TaboutI");
        HWND window = nullptr;
        ASSERT_TRUE(
            Zelmora::WaitFor([&] { return (window = FindWindowW(L"ZelmoraForm", L"关于版本")) != nullptr; }, 10s));
        EXPECT_FALSE(IsWindowEnabled(app.Window())) << "shown modally";
        EXPECT_TRUE(IsWindowVisible(window));
        const std::string before = app.Text("LTime");
        EXPECT_TRUE(Zelmora::WaitFor([&] { return app.Text("LTime") != before; }, 5s)) << "the countdown runs on";
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Zelmora::WaitFor([&] { return IsWindowEnabled(app.Window()) && !IsWindowVisible(window); }, 10s));
    }
    EXPECT_TRUE(app.Running());
}

// The Help links share one path to the browser (the addresses are checked by the unit tests). Under Wine
// the Internet Explorer server is slow to start and stop, so one link is followed here.
TEST(HelpLinks, ALinkShowsAnInternetExplorerWindow) {
    Zelmora app("links", kQuietSettings);
    app.Start();
    app.ChooseMenu("Tindex");
    const HWND browser = WaitForShownWindow("IEFrame");
    ASSERT_NE(browser, nullptr);
    PostMessageW(browser, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Zelmora::WaitFor([&] { return !IsWindow(browser); }, 20s));
    EXPECT_EQ(ShownWindow("#32770", &app), nullptr) << "no failure box";
    EXPECT_TRUE(app.Running());
}

TEST(IntervalLabel, AClickShows1000) {
    Zelmora app("label-click", kQuietSettings);
    app.Start();
    const HWND label = app.Control("Label1");
    PostMessageW(app.Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
                 reinterpret_cast<LPARAM>(label));
    const HWND box = WaitForShownWindow("#32770", &app);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), "1000");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Zelmora::WaitFor([&] { return !IsWindow(box); }, 10s));
}

}  // namespace
}  // namespace zelmora::e2e
