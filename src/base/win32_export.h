#pragma once

#include <windows.h>

namespace zelmora {

// A function a DLL exports, looked up at run time because not every Windows version has it; null where the
// DLL or the function is missing.
template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(library ? GetProcAddress(library, name) : nullptr));
}

}  // namespace zelmora
