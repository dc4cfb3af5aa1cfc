// Zelmora.exe.

#include <windows.h>

#include <cstdlib>

#include "app/zelmora_app.h"

// Failures are reported by the event dispatch. The library's default terminate handler demangles type
// names, which would add 46 KB to the program for a path that never runs.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return zelmora::RunZelmora(instance, show);
}
