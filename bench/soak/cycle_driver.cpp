#include "cycle_driver.h"

#include <charconv>
#include <chrono>
#include <stdexcept>

namespace zelmora::soak {

namespace {

constexpr int kIntervalMinutes = 24 * 60;
constexpr int kIntervalSeconds = kIntervalMinutes * 60;
// The program's clock may take a second off the reloaded countdown before it is read; more would mean no reload.
constexpr int kSecondsOffAtMost = 5;
constexpr UINT kTickTimeoutMs = 30000;
// Clicks in a row that the program's own tick may come between before the click counts as not working.
constexpr int kClicksAtMost = 3;

int Countdown(const std::string& text) {
    int seconds = -1;
    std::from_chars(text.data(), text.data() + text.size(), seconds);
    return seconds;
}

CycleOutcome OutcomeOf(const std::string& status) {
    if (status.find(" 删除成功!已释放 ") != std::string::npos && status.ends_with(" 空间."))
        return CycleOutcome::Deleted;
    if (status.ends_with(" 可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口"))
        return CycleOutcome::PictureInUse;
    if (status.ends_with(" 新浪微博缓存路径不存在！"))
        return CycleOutcome::NoCache;
    throw std::runtime_error("a cycle ended with an unknown status: " + status);
}

}  // namespace

std::string CycleDriver::ConfigIni() {
    return "[Auto]\r\nDel=1\r\nTime=" + std::to_string(kIntervalMinutes) + "\r\nALoad=0\r\n";
}

CycleDriver::CycleDriver(e2e::Zelmora& app)
    : app_(app), timerId_(static_cast<WPARAM>(Form1Control("Tm1").Description().id)) {}

CycleOutcome CycleDriver::Run() {
    for (int clicks = 1;; ++clicks) {
        app_.Click("Ccls");
        if (Countdown(app_.Text("LTime")) == 0)
            break;
        if (clicks == kClicksAtMost)
            throw std::runtime_error("立即清理 did not set the countdown to 0: it reads " + app_.Text("LTime"));
        ++ownTicksFirst_;
    }
    Tick();
    const int countdown = Countdown(app_.Text("LTime"));
    if (countdown < kIntervalSeconds - kSecondsOffAtMost || countdown > kIntervalSeconds)
        throw std::runtime_error("the tick ran no cycle: the countdown reads " + app_.Text("LTime"));
    // A tick while the cycle runs is dropped; once it has ended, the countdown goes on.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTickTimeoutMs);
    while (Countdown(app_.Text("LTime")) == countdown) {
        if (std::chrono::steady_clock::now() > end)
            throw std::runtime_error("the cycle did not end");
        Sleep(5);
        Tick();
    }
    return OutcomeOf(app_.Text("Lb1"));
}

void CycleDriver::Tick() {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(app_.Window(), WM_TIMER, timerId_, 0, SMTO_ABORTIFHUNG, kTickTimeoutMs, &result))
        throw std::runtime_error("the program did not handle its clock's tick");
}

}  // namespace zelmora::soak
