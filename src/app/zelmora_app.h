#pragma once

#include <windows.h>

namespace zelmora {

// Told as each start-up step ends, so the start-up benchmark can time them.
class StartupSteps {
public:
    virtual ~StartupSteps() = default;
    virtual void Done(const char* step) = 0;
};

// The program: a second copy shows the first and ends; the first wires the Windows services into the main
// window, loads and shows it and runs its messages until it closes.
int RunZelmora(HINSTANCE instance, int show, StartupSteps* steps = nullptr);

}  // namespace zelmora
