#pragma once

#include <windows.h>

#include <oleauto.h>

namespace zelmora {

// COM, loaded and started at its first use rather than at the program's start: only the start-at-log-on
// shortcut and the web links need it. ole32 and oleaut32 are looked up then, so the loader does not map
// them when the program starts.
class Com {
public:
    // Throws Failure when COM cannot be loaded or started.
    static const Com& Get();

    HRESULT(WINAPI* CreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    HRESULT(WINAPI* ClassFromProgId)(LPCOLESTR, LPCLSID);
    BSTR(WINAPI* AllocString)(const OLECHAR*);
    void(WINAPI* FreeString)(BSTR);

private:
    Com();
};

}  // namespace zelmora
