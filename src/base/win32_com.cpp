#include "base/win32_com.h"

#include <objbase.h>

#include "base/failure.h"
#include "base/win32_export.h"

namespace zelmora {

namespace {

template <typename Function>
void Lookup(HMODULE library, const char* name, Function& function) {
    function = Export<Function>(library, name);
    if (!function)
        throw Failure(std::string("COM is not available: ") + name);
}

}  // namespace

Com::Com() {
    const HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    const HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
    HRESULT(WINAPI * initialize)(LPVOID, DWORD) = nullptr;
    Lookup(ole32, "CoInitializeEx", initialize);
    Lookup(ole32, "CoCreateInstance", CreateInstance);
    Lookup(ole32, "CLSIDFromProgID", ClassFromProgId);
    Lookup(oleaut32, "SysAllocString", AllocString);
    Lookup(oleaut32, "SysFreeString", FreeString);
    // On the program's one thread, for the rest of the run.
    if (FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
        throw Failure("COM cannot be started");
}

const Com& Com::Get() {
    static const Com com;
    return com;
}

}  // namespace zelmora
