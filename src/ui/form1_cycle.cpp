#include <algorithm>
#include <string>

#include "base/number_text.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

constexpr const char* kPictureInUse = "可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";

// A size told in whole KB up to 1,048,575 bytes and in whole MB from 1,048,576 bytes on; the remainder is
// dropped.
struct WholeUnits {
    int32_t amount;
    bool megabytes;
};

WholeUnits InWholeUnits(int32_t bytes) {
    const int32_t kilobytes = bytes / 1024;
    if (kilobytes > 1023)
        return {kilobytes / 1024, true};
    return {kilobytes, false};
}

std::string SizeText(WholeUnits size) {
    return std::to_string(size.amount) + (size.megabytes ? "MB" : "KB");
}

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

// The old fixed path, where the profile folder it names is the user's own and the cache is there; otherwise the
// cache under the user's own application data, as the client keeps it for a renamed account or a profile folder
// named otherwise or on another drive. Where neither exists, the first that applies is the one reported missing.
std::string Form1::CachePath(FileSystem& fso) {
    const std::string fixed = fixedProfile_.empty() ? "" : fixedProfile_ + "\\Application Data\\sina\\weibo\\cache";
    const std::string own = appData_.empty() ? "" : appData_ + "\\sina\\weibo\\cache";
    if (own.empty() || (!fixed.empty() && fso.Exists(fixed)) || !fso.Exists(own))
        return fixed.empty() ? own : fixed;
    return own;
}

void Form1::Tm1_Timer() {
    if (cycleRunning_)
        return;  // a tick during a cycle (its message box is open) is dropped, never nested

    const double countdown = NumericValue(LTime.Text());
    if (countdown >= 1) {
        LTime.SetText(DecimalText(countdown - 1));
        return;
    }
    ReloadCountdown();
    if (++CycleCount >= 100) {
        Tx1.SetText("");
        CycleCount = 0;
    }

    const Flag running(cycleRunning_);
    std::string timeStamp;
    try {
        timeStamp = services_.system.LocalTime() + " ";
        const std::unique_ptr<FileSystem> fso = services_.fileSystems.Create();
        const std::string cachePath = CachePath(*fso);
        const int32_t measured = FolderlenRec(*fso, cachePath, cachePath);
        const bool present = fso->Exists(cachePath);
        // What stays of a deletion that could not take everything is not counted as freed.
        const bool cleaned = present && fso->DeleteFolder(cachePath);
        const int32_t freed = cleaned || !present ? measured : std::max(measured - SizeLeft(*fso, cachePath), 0);

        const WholeUnits size = InWholeUnits(freed);
        Control& total = size.megabytes ? TMB : TKB;
        total.SetText(DecimalText(NumericValue(total.Text()) + size.amount));

        if (!present) {
            Lb1.SetText(timeStamp + "新浪微博缓存路径不存在！");
        } else if (!cleaned) {
            Lb1.SetText(timeStamp + kPictureInUse);
            return;
        } else {
            Lb1.SetText(timeStamp + "删除成功!已释放 " + SizeText(size) + " 空间.");
            Tx1.SetText(Tx1.Text() + Lb1.Text() + "\r\n");
        }
        Tx1.SetSelStart(Tx1.Text().size());
    } catch (...) {
        Lb1.SetText(timeStamp + kPictureInUse);
    }
}

}  // namespace zelmora
