#pragma once

#include <windows.h>

#include <oleauto.h>

#include "base/scoped.h"

// Owners of what the program must give back to Windows: kernel handles, device contexts and paintings, GDI
// objects, menus, icons and BSTRs. Each gives its own back when it goes, and none is ever copied.

namespace zelmora {

using ScopedHandle = Scoped<HANDLE, &CloseHandle>;
template <typename Object>
using ScopedGdiObj = Scoped<Object, &DeleteObject>;
using ScopedMenu = Scoped<HMENU, &DestroyMenu>;
using ScopedIcon = Scoped<HICON, &DestroyIcon>;

// A file's handle from CreateFileW, which tells failure by INVALID_HANDLE_VALUE rather than by null.
inline ScopedHandle OwnFile(HANDLE file) {
    return ScopedHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// A window's device context, or the screen's for no window.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    ~ScopedGetDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A window's painting, from BeginPaint to EndPaint.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    operator HDC() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context until the scope ends, when the one it replaced comes back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A BSTR, freed through the SysFreeString that the program looked up (oleaut32 is loaded at its first use).
class ScopedBstr {
public:
    using Free = void(WINAPI*)(BSTR);
    ScopedBstr(BSTR value, Free free) : value_(value), free_(free) {}
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() {
        if (value_)
            free_(value_);
    }
    BSTR Get() const { return value_; }

private:
    BSTR value_;
    Free free_;
};

}  // namespace zelmora
