#include "shell/win32_browser.h"

#include <windows.h>

#include <oleauto.h>
#include <shellapi.h>

#include "base/com_pointer.h"
#include "base/failure.h"
#include "base/win32_com.h"
#include "base/win32_scopes.h"
#include "base/win32_text.h"

namespace zelmora {

namespace {

// Sets a property or calls a method of an automation object by name, with at most one argument.
HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument) {
    DISPID id = 0;
    auto* names = const_cast<LPOLESTR>(name);
    HRESULT result = object->GetIDsOfNames(GUID{}, &names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        return result;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{argument, flags == DISPATCH_PROPERTYPUT ? &named : nullptr, argument ? 1u : 0u,
                          flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    return object->Invoke(id, GUID{}, LOCALE_USER_DEFAULT, flags, &parameters, nullptr, nullptr, nullptr);
}

bool OpenInInternetExplorer(const std::wstring& address) {
    CLSID classId;
    const Com& com = Com::Get();
    if (FAILED(com.ClassFromProgId(L"INTERNETEXPLORER.APPLICATION", &classId)))
        return false;
    ComPointer<IDispatch> browser;
    if (FAILED(com.CreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IDispatch), browser.Out())))
        return false;
    VARIANT visible{};
    visible.vt = VT_BOOL;
    visible.boolVal = VARIANT_TRUE;
    const ScopedBstr url(com.AllocString(address.c_str()), com.FreeString);
    VARIANT navigate{};
    navigate.vt = VT_BSTR;
    navigate.bstrVal = url.Get();
    return SUCCEEDED(Invoke(browser.Get(), L"Visible", DISPATCH_PROPERTYPUT, &visible)) &&
           SUCCEEDED(Invoke(browser.Get(), L"Navigate", DISPATCH_METHOD, &navigate));
}

}  // namespace

void Win32Browser::Open(const std::string& url) {
    const std::wstring address = Widen(url);
    if (OpenInInternetExplorer(address))
        return;
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = address.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute))
        throw Failure("no browser for " + url);
}

}  // namespace zelmora
