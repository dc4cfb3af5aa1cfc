// Compiled by the build's tests as the engine's code is compiled, seeing only the rooms the engine sees: a header of
// its own room must compile, and one of the window's room, above it, must not.

#ifdef RUNS_BACK_UP
#include "ui/form1_description.h"
constexpr auto kAbove = zelmora::kForm1Description.clientWidth;
#else
#include "engine/cache_path.h"
#endif
