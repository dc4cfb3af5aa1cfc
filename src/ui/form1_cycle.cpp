#include <memory>
#include <string>

#include "base/number_text.h"
#include "engine/freed_space.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

constexpr const char* kPictureInUse = "可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";

}  // namespace

// A cycle's file work runs on the worker, so the window answers while a big cache is cleaned; the worker's news
// (CycleNews) brings its progress and, at its end, its report, which this thread tallies and tells.
void Form1::Tm1_Timer() {
    if (cycle_)
        return;  // a tick while a cycle runs is dropped, never nested

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

    cycleTimeStamp_.clear();
    try {
        cycleTimeStamp_ = services_.system.LocalTime() + " ";
        cycle_ = std::make_unique<CleaningHandOver>(userFolders_, services_.worker, services_.system);
        unreadableSeen_ = 0;
        services_.worker.Start(
            [&fileSystems = services_.fileSystems, cycle = cycle_.get()] { CleanCache(fileSystems, *cycle); });
    } catch (...) {
        cycle_.reset();
        Lb1.SetText(cycleTimeStamp_ + kPictureInUse);
    }
}

void Form1::CycleNews() {
    if (!cycle_)
        return;
    const CleaningProgress progress = cycle_->Progress();
    levelsToTell_ += progress.unreadableLevels - unreadableSeen_;
    unreadableSeen_ = progress.unreadableLevels;
    if (cycle_->Ended())
        FinishCycle();
    else if (cycle_->ShowsProgress())
        Lb1.SetText(ProgressText(progress));
    TellUnreadableLevels();
}

// The measurement's record, a line for each folder, deepest first, added to List1 in the order measured.
void Form1::FolderlenRec(std::deque<std::string> folderLines) {
    for (std::string& line : folderLines)
        List1.AddItem(std::move(line));
}

// Only what went is counted, and the totals are stored as soon as the cycle has changed them.
void Form1::FinishCycle() {
    const std::unique_ptr<CleaningHandOver> ended = std::move(cycle_);
    services_.worker.Join();
    CleaningReport report = ended->TakeReport();
    FolderlenRec(std::move(report.folderLines));

    const WholeUnits size = InWholeUnits(report.freed);
    TextBox total = size.megabytes ? TMB : TKB;
    total.SetText(DecimalText(NumericValue(total.Text()) + static_cast<double>(size.amount)));
    StoreChangedTotals();

    if (report.failed || (report.cacheFound && !report.picturesGone)) {
        Lb1.SetText(cycleTimeStamp_ + kPictureInUse);
        return;
    }
    if (!report.cacheFound) {
        Lb1.SetText(cycleTimeStamp_ + "新浪微博缓存路径不存在！");
    } else {
        Lb1.SetText(cycleTimeStamp_ + "删除成功!已释放 " + SizeText(size) + " 空间.");
        Tx1.SetText(Tx1.Text() + Lb1.Text() + "\r\n");
    }
    Tx1.SetSelStart(Tx1.Text().size());
}

// A level the measurement could not read is told in a message box, one at a time: the cycle goes on meanwhile, and
// the next box comes once the last is closed.
void Form1::TellUnreadableLevels() {
    if (levelBoxOpen_)
        return;
    levelBoxOpen_ = true;
    for (; levelsToTell_ > 0; --levelsToTell_)
        services_.messages.Show("文件大于2G！");
    levelBoxOpen_ = false;
}

// Exit and the end of the session stop a running cycle at its next entry and count what it freed until then.
void Form1::StopCycle() {
    if (!cycle_)
        return;
    cycle_->Stop();
    services_.worker.Join();
    FinishCycle();
}

}  // namespace zelmora
