#include <gtest/gtest.h>

#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;

const char* kQuietSettings = "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=0\r\n";

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

TEST(Tray, TheIconsMenuOffersExitWhichWritesTheSettingsAndEnds) {
    Zelmora app("tray-exit", kQuietSettings);
    app.Start();
    app.Type("TDel", "7");
    Minimise(app);
    ClickTrayIcon(3, 1);
    const HWND menu = ShownPopupMenu();
    ASSERT_NE(menu, nullptr) << "the File menu pops up";
    RunUnix("/usr/bin/xdotool key Down Return");
    app.WaitForExit();
    const std::string settings = ReadFile(app.ConfigIni());
    EXPECT_NE(settings.find("Time=7"), std::string::npos) << settings;
    EXPECT_NE(settings.find("TKB=0"), std::string::npos) << settings;
}

}  // namespace
}  // namespace zelmora::e2e
