#include <cmath>
#include <string>

#include "base/number_text.h"
#include "base/user_name.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

// The old fixed profile path where it exists; otherwise the cache under the user's real application data, as
// the client keeps it for a renamed account or a profile folder named otherwise or on another drive. Where
// neither exists, the fixed path is the one reported missing.
std::string CachePathFor(const std::string& userName, const std::string& appData, FileSystem& fileSystem) {
    const std::string fixed = IsSafeUserName(userName)
                                  ? "C:\\Documents and Settings\\" + userName + "\\Application Data\\sina\\weibo\\cache"
                                  : "";
    const std::string own = appData.empty() ? "" : appData + "\\sina\\weibo\\cache";
    if (own.empty() || (!fixed.empty() && fileSystem.Exists(fixed)) || !fileSystem.Exists(own))
        return fixed;
    return own;
}

// Whole KB up to 1,048,575 bytes, whole MB from 1,048,576 bytes on; the remainder is dropped.
std::string SizeText(int32_t bytes) {
    const int32_t kilobytes = bytes / 1024;
    if (kilobytes > 1023)
        return std::to_string(kilobytes / 1024) + "MB";
    return std::to_string(kilobytes) + "KB";
}

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

void Form1::Tm1_Timer() {
    if (cycleRunning_)
        return;  // a tick during a cycle (its message box is open) is dropped, never nested

    const double countdown = NumericValue(LTime.Text());
    if (countdown >= 1) {
        LTime.SetText(DecimalText(countdown - 1));
        return;
    }

    const double seconds = NumericValue(TDel.Text()) * 60;
    if (seconds >= 60 && std::isfinite(seconds))
        LTime.SetText(DecimalText(seconds));

    if (++CycleCount >= 100) {
        Tx1.SetText("");
        CycleCount = 0;
    }

    const Flag running(cycleRunning_);
    std::string timeStamp;
    try {
        timeStamp = services_.system.LocalTime() + " ";
        Fso = services_.fileSystems.Create();
        CachePath = CachePathFor(services_.system.Environment("USERNAME"), services_.system.AppDataFolder(), *Fso);
        const std::string sizeText = SizeText(FolderlenRec(CachePath));

        const double amount = NumericValue(sizeText.substr(0, sizeText.size() - 2));
        Control& total = sizeText.ends_with("KB") ? TKB : TMB;
        total.SetText(DecimalText(NumericValue(total.Text()) + amount));

        if (Fso->Exists(CachePath)) {
            services_.fileSystems.Create()->DeleteFolder(CachePath);
            Lb1.SetText(timeStamp + "删除成功!已释放 " + sizeText + " 空间.");
            Tx1.SetText(Tx1.Text() + Lb1.Text() + "\r\n");
        } else {
            Lb1.SetText(timeStamp + "新浪微博缓存路径不存在！");
        }
        Tx1.SetSelStart(Tx1.Text().size());
    } catch (...) {
        Lb1.SetText(timeStamp + "可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口");
    }
}

}  // namespace zelmora
