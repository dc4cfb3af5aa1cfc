#include <gtest/gtest.h>

#include <thread>

#include "base/failure.h"
#include "base/win32_text.h"
#include "ui/form1.h"
#include "ui/win32/form_window.h"
#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;

TEST(Zelmora, FirstStartShowsTheWindowAndWritesTheSettingsOnClose) {
    Zelmora app("first-start");
    app.Start();
    EXPECT_EQ(app.Caption(), "ZelmoraV2.0");
    EXPECT_EQ(app.Text("Ccls"), "立即清理");
    EXPECT_EQ(app.Text("CDel"), "自动清除");
    EXPECT_EQ(app.Text("CLoad"), "开机自动启动");
    EXPECT_EQ(app.Check("CDel"), BST_UNCHECKED);
    EXPECT_EQ(app.Text("TDel"), "1");
    EXPECT_EQ(app.Text("LTime"), "60");
    EXPECT_EQ(app.Text("TGB") + app.Text("TMB") + app.Text("TKB"), "000");
    EXPECT_EQ(app.Text("Lb1"), "");
    EXPECT_EQ(app.Text("Tx1"), "");
    EXPECT_FALSE(IsWindowVisible(app.Control("List1")));
    EXPECT_FALSE(IsWindowVisible(app.Control("picMouseEvent")));
    EXPECT_FALSE(IsWindowVisible(app.Control("Frame4")));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(app.Text("LTime"), "60") << "auto clear is off: no countdown";
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(ReadFile(app.ConfigIni()),
              "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=1\r\n[Cls]\r\nTGB=0\r\nTMB=0\r\nTKB=0\r\n");
}

// The countdown sits on its frame's top edge beside the caption: the frame's line stops short of it, as it stops
// short of the caption, so the countdown never reads as a negative number. At the screen's dots per inch.
class FramesLine : public ::testing::TestWithParam<DWORD> {};

TEST_P(FramesLine, StopsAtTheCountdownAsAtTheCaption) {
    const UserRegistryValue dpi(L"Control Panel\\Desktop", L"LogPixels", GetParam());
    Zelmora app("frame-line");
    app.Start();
    SetWindowPos(app.Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT countdown{};
    GetWindowRect(app.Control("LTime"), &countdown);
    const HDC screen = GetDC(nullptr);
    // The line runs on to the right of the countdown: its row is the one there that is not background, once the
    // window is drawn.
    const int beyond = countdown.right + 4;
    const COLORREF background = GetPixel(screen, beyond, countdown.top);
    int line = countdown.bottom;
    Zelmora::WaitFor(
        [&] {
            line = countdown.top;
            while (line < countdown.bottom && GetPixel(screen, beyond, line) == background)
                ++line;
            return line < countdown.bottom;
        },
        10s);
    ASSERT_LT(line, countdown.bottom) << "the frame's line runs on beyond the countdown";
    EXPECT_EQ(app.Text("Frame1"), "自动清除：") << "the caption is the frame's text, without blanks";
    for (int x = countdown.left - 4; x < countdown.left; ++x)
        EXPECT_EQ(GetPixel(screen, x, line), background) << "the line shows " << countdown.left - x << " px before it";
    ReleaseDC(nullptr, screen);
}

INSTANTIATE_TEST_SUITE_P(Zelmora, FramesLine, ::testing::Values(96, 144),
                         [](const ::testing::TestParamInfo<DWORD>& dots) {
                             return std::to_string(dots.param) + "dpi";
                         });

// The pixels of a window as the screen shows them, once two looks a moment apart agree.
std::vector<uint32_t> ShownPixels(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    std::vector<uint32_t> earlier;
    Zelmora::WaitFor(
        [&] {
            earlier = pixels;
            std::this_thread::sleep_for(200ms);
            BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
            GetDIBits(memory, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
            return pixels == earlier;
        },
        5s);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Chinese captions draw as their characters, not as the boxes of a font that lacks them: the pixels of a
// caption differ from those of as many characters that no font has (U+0378 is unassigned), and from none.
TEST(Zelmora, ChineseCaptionsDrawAsTheirCharactersNotAsBoxes) {
    Zelmora app("chinese-captions", kQuietSettings);
    app.Start();
    SetWindowPos(app.Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const HWND label = app.Control("Label1");
    const auto drawn = [&](const wchar_t* text) {
        SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        return ShownPixels(label);
    };
    const std::vector<uint32_t> missing = drawn(L"\u0378\u0378\u0378\u0378\u0378");
    const std::vector<uint32_t> none = drawn(L"");
    const std::vector<uint32_t> chinese = drawn(L"清除间隔：");
    EXPECT_NE(chinese, none) << "the caption draws nothing";
    EXPECT_NE(chinese, missing) << "the caption draws as boxes: no installed font has its characters";
}

TEST(Zelmora, ACycleDeletesTheCacheAndReportsTheSpaceFreed) {
    Zelmora app("cycle", "[Auto]\r\nDel=1\r\nTime=0\r\nALoad=0\r\n");
    app.MakeCacheFile("a\\1.jpg", 3000000);
    app.MakeCacheFile("2.jpg", 2500000);
    app.Start();
    EXPECT_EQ(app.Check("CDel"), BST_CHECKED);
    ASSERT_FALSE(app.Report().empty());
    EXPECT_TRUE(app.Text("Lb1").ends_with(" 删除成功!已释放 5MB 空间.")) << app.Text("Lb1");
    EXPECT_EQ(app.Text("Tx1"), app.Text("Lb1") + "\r\n");
    EXPECT_FALSE(app.CacheExists());
    EXPECT_EQ(app.Text("TMB"), "5");
    EXPECT_TRUE(Zelmora::WaitFor([&] { return app.Text("Lb1").ends_with("新浪微博缓存路径不存在！"); }, 5s));
    EXPECT_EQ(app.Text("LTime"), "LTime") << "an interval of 0 never reloads the countdown";
}

TEST(Zelmora, AFileInUseStaysUncountedWhileTheRestIsCleaned) {
    Zelmora app("in-use", "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=0\r\nTKB=0\r\n");
    app.MakeCacheFile("viewer.jpg", 2 * 1024 * 1024);
    app.MakeCacheFile("other.jpg", 300 * 1024);
    const HANDLE held = CreateFileW(Widen(app.CacheFolder() + "\\viewer.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    app.Start();
    app.Click("Ccls");
    EXPECT_EQ(app.Text("LTime"), "0");
    app.Click("CDel");
    ASSERT_FALSE(app.Report().empty());
    EXPECT_TRUE(app.Text("Lb1").ends_with(" 可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口")) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB") + "/" + app.Text("TKB"), "0/300") << "only what went is counted";
    EXPECT_EQ(app.Text("Tx1"), "");
    EXPECT_TRUE(app.CacheExists());
    EXPECT_EQ(GetFileAttributesW(Widen(app.CacheFolder() + "\\other.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseHandle(held);
}

TEST(Zelmora, CarriesAreStoredAsTheyHappen) {
    Zelmora app("carry", "[Auto]\r\nDel=1\r\nTime=0\r\nALoad=0\r\n[Cls]\r\nTGB=3\r\nTMB=1023\r\nTKB=7\r\n");
    app.MakeCacheFile("p.jpg", 1024 * 1024);
    app.Start();
    ASSERT_TRUE(Zelmora::WaitFor([&] { return app.Text("TGB") == "4"; }, 15s));
    EXPECT_EQ(app.Text("TMB"), "0");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TGB"), "4");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TMB"), "0");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TKB"), "7");
}

TEST(Zelmora, TypingTheIntervalRestartsTheCountdownAndClearingResetsTheTotals) {
    Zelmora app("interval", "[Auto]\r\nDel=0\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=1\r\nTMB=2\r\nTKB=3\r\n");
    app.Start();
    EXPECT_EQ(app.Text("LTime"), "300");
    app.Type("TDel", "3");
    EXPECT_EQ(app.Text("LTime"), "180");
    app.Type("TDel", "30");
    EXPECT_EQ(app.Text("LTime"), "1800");
    app.ChooseMenu("TCls");
    ASSERT_TRUE(Zelmora::WaitFor([&] { return app.Text("TGB") == "0"; }, 5s));
    EXPECT_EQ(app.Text("TMB") + app.Text("TKB"), "00");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TGB") + Setting(app.ConfigIni(), "Cls", "TMB") +
                  Setting(app.ConfigIni(), "Cls", "TKB"),
              "000");
}

TEST(Zelmora, ExitWritesAllSixSettingsLikeClosingTheWindow) {
    Zelmora app("exit", "[Auto]\r\nDel=0\r\nTime=5\r\nALoad=0\r\n");
    app.Start();
    app.Click("CDel");
    app.Type("TDel", "12");
    app.ChooseMenu("TExit");
    app.WaitForExit();
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Del"), "1");
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Time"), "12");
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "ALoad"), "0");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TKB"), "0");
}

TEST(Zelmora, AHandEditedMegabyteTotalKeepsTheStoredKilobytes) {
    Zelmora app("hand-edited", "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=1024\r\nTKB=500\r\n");
    app.Start();
    EXPECT_EQ(app.Text("TGB"), "1");
    EXPECT_EQ(app.Text("TMB"), "0");
    EXPECT_EQ(app.Text("TKB"), "500");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TKB"), "500");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TGB"), "1");
}

// The main window realized in this process, with handlers that record what runs.
struct Realized {
    Realized() {
        model->BindFormEvent(FormEvent::Unload, [this] { ++unloads; });
        window->Realize(*model);
    }
    ~Realized() {
        window.reset();
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted as the main window went
    }
    HWND Handle() const { return window->Handle(); }

    std::vector<std::string> failures;
    int unloads = 0;
    EventDispatch dispatch{[this](const std::string& failure) { failures.push_back(failure); }};
    std::unique_ptr<Form1Model> model = std::make_unique<Form1Model>(dispatch);
    std::unique_ptr<FormWindow> window = std::make_unique<FormWindow>(GetModuleHandleW(nullptr), FormWindow::Icons{});
};

// From the top of the z-order, which is also the tab order: the other controls by tab position, then the
// labels, then the frames.
TEST(Realization, ControlsAreStackedInTabOrderAboveLabelsAboveFrames) {
    Realized realized;
    std::vector<std::string> stacked;
    for (HWND child = GetWindow(realized.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        for (const ControlDescription& spec : kForm1Description.controls) {
            if (spec.id == GetDlgCtrlID(child))
                stacked.push_back(spec.name);
        }
    }
    EXPECT_EQ(stacked, (std::vector<std::string>{"CDel",   "TDel",   "Ccls",   "CLoad",  "Tx1",           "List1",
                                                 "TGB",    "TMB",    "TKB",    "pic(0)", "picMouseEvent", "Label1",
                                                 "Label2", "Lb1",    "LTime",  "Label3", "Label4",        "Label5",
                                                 "Label6", "Frame1", "Frame2", "Frame3", "Frame4"}));
}

// Log-off, shutdown, and an installer closing the program through the Restart Manager (ENDSESSION_CLOSEAPP):
// the window unloads once and the program ends.
TEST(Realization, TheEndOfTheSessionUnloadsOnceAndEndsTheProgram) {
    constexpr LPARAM kCloseApp = 0x1;  // ENDSESSION_CLOSEAPP, not in Windows XP's declarations
    for (const LPARAM reason : {LPARAM{0}, static_cast<LPARAM>(ENDSESSION_LOGOFF), kCloseApp}) {
        Realized realized;
        const HWND window = realized.Handle();
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, reason), TRUE);
        EXPECT_EQ(realized.unloads, 0);
        SendMessageW(window, WM_ENDSESSION, TRUE, reason);
        EXPECT_EQ(realized.unloads, 1) << reason;
        EXPECT_FALSE(IsWindow(window)) << reason;
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program ends: " << reason;
    }
}

TEST(Realization, AWindowThatOutlivesItsModelLeavesIt) {
    Realized realized;
    const HWND window = realized.Handle();
    realized.model.reset();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(realized.unloads, 0) << "the handlers went with the model";
    EXPECT_FALSE(IsWindow(window));
}

TEST(Realization, AFailureIsReportedAtTheWindowProcedure) {
    Realized realized;
    realized.model->Named<"Ccls">().Bind([] { throw Failure("button failed"); });
    const HWND button = realized.window->ControlHandle(Form1Control("Ccls").Description());
    SendMessageW(realized.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(realized.failures, std::vector<std::string>{"button failed"});
}

}  // namespace
}  // namespace zelmora::e2e
