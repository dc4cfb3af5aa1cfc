#include "wine_version.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "base/win32_export.h"

namespace zelmora::testing {

bool WineDeletesWithPosixSemantics() {
    const auto version = Export<const char*(CDECL*)()>(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    if (!version)
        throw std::runtime_error("not under Wine");
    const int major = std::atoi(version());
    // A run meant for one Wine (tools/wine-run.sh) fails under another rather than test the wrong deletion.
    if (const char* meant = std::getenv("ZELMORA_WINE"); meant && *meant && std::atoi(meant) != major)
        throw std::runtime_error(std::string("meant for Wine ") + meant + ", run under Wine " + version());
    return major >= 10;
}

}  // namespace zelmora::testing
