#include <memory>
#include <string>

#include "base/number_text.h"
#include "engine/freed_space.h"
#include "ui/form1.h"
#include "ui/program_texts.h"

namespace zelmora {

namespace {

// Exit and the end of the session wait this long for a running cycle to stop: Windows gives a program 5 s to end.
constexpr uint32_t kStopWaitMs = 2000;

}  // namespace

// A cycle's file work runs on the worker, so the window answers while a big cache is cleaned; the worker's news
// (CycleNews) brings its progress and, at its end, its report, which this thread tallies and tells. A tick while a
// cycle runs looks at the news itself, so a wake-up lost on its way cannot leave the cycle running for good, and is
// otherwise dropped, never nested.
void Form1::Tm1_Timer() {
    if (cycle_)
        CycleNews();
    if (cycle_)
        return;

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
        cycle_ =
            std::make_unique<CleaningHandOver>(userFolders_, services_.worker, services_.system, texts::FolderLine);
        services_.worker.Start(
            [&fileSystems = services_.fileSystems, cycle = cycle_.get()] { CleanCache(fileSystems, *cycle); });
    } catch (...) {
        cycle_.reset();
        Lb1.SetText(cycleTimeStamp_ + texts::kPictureInUse);
    }
}

void Form1::CycleNews() {
    if (!cycle_)
        return;
    cycle_->TakeWakeUp();
    if (cycle_->Ended())
        FinishCycle();
    else if (cycle_->ShowsProgress())
        Lb1.SetText(texts::Progress(cycle_->Progress()));
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
    levelsToTell_.insert(levelsToTell_.end(), report.unreadableLevels.begin(), report.unreadableLevels.end());

    const WholeUnits size = CountFreed(report.freed);
    if (report.failed || (report.cacheFound && !report.picturesGone))
        return TellCycle(texts::kPictureInUse);
    if (!report.cacheFound) {
        TellCycle(texts::kNoCache);
    } else {
        TellCycle(texts::Freed(size));
        Tx1.SetText(Tx1.Text() + Lb1.Text() + "\r\n");
    }
    Tx1.SetSelStart(Tx1.Text().size());
}

// Adds what went to the totals, which are saved at once.
WholeUnits Form1::CountFreed(int64_t bytes) {
    const OpenSave save(*this);
    const WholeUnits size = InWholeUnits(bytes);
    TextBox total = size.megabytes ? TMB : TKB;
    total.SetText(DecimalText(NumericValue(total.Text()) + static_cast<double>(size.amount)));
    StoreChangedTotals();
    return size;
}

// The cycle's outcome in the status line, with its time, and whether the settings are still to be saved: its own
// save has failed.
void Form1::TellCycle(const std::string& outcome) {
    Lb1.SetText(cycleTimeStamp_ + outcome + (unsaved_.empty() ? "" : texts::kNotSaved));
}

// The levels a cycle's measurement could not read are told once it has ended, each in a message box, one at a
// time: the next cycles go on meanwhile, and the next box comes once the last is closed.
void Form1::TellUnreadableLevels() {
    if (levelBoxOpen_)
        return;
    levelBoxOpen_ = true;
    // The boxes' cycles may add levels meanwhile.
    for (size_t next = 0; next < levelsToTell_.size(); ++next)
        services_.messages.Show(texts::FolderUnreadable(levelsToTell_[next]));
    levelsToTell_.clear();
    levelBoxOpen_ = false;
}

// Exit and the end of the session stop a running cycle at its next entry and count what it freed until then. A
// cycle that does not stop in time (a folder that will not list, a network drive that hangs) counts what it
// confirmed gone so far, and the program ends without it.
void Form1::StopCycle() {
    if (!cycle_)
        return;
    cycle_->Stop();
    if (services_.worker.WaitFor(kStopWaitMs))
        FinishCycle();
    else
        CountFreed(cycle_->Freed());
}

}  // namespace zelmora
