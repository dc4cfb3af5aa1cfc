#pragma once

#include <string>

#include "zelmora_driver.h"

namespace zelmora::soak {

enum class CycleOutcome { Deleted, PictureInUse, NoCache };

// Runs cleaning cycles of the real program as 立即清理 and the next tick of its clock do: the click sets the
// countdown to 0, then the clock's message goes to the window, so the program's own tick handler starts the
// cycle there and then; further ticks are dropped until it has ended. Auto clear stays on, so the clock keeps
// ticking by itself too; with an interval of a day its own ticks only count down, and a cycle runs only where the
// driver has set the countdown to 0.
class CycleDriver {
public:
    // The settings to start the program with.
    static std::string ConfigIni();

    explicit CycleDriver(e2e::Zelmora& app);

    // Runs one cycle and returns what the status line says of it, having checked that it ran: the countdown
    // read 0 after the click and is back at the interval after the tick. Throws where no cycle ran.
    CycleOutcome Run();
    // Clicks after which the program's own tick had already taken the countdown from 0 (and run a cycle, not
    // counted) before the driver read it; the click is repeated.
    int OwnTicksFirst() const { return ownTicksFirst_; }

private:
    void Tick();

    e2e::Zelmora& app_;
    WPARAM timerId_;
    int ownTicksFirst_ = 0;
};

}  // namespace zelmora::soak
