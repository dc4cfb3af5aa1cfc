#pragma once

#include <windows.h>

#include "ui/message_box.h"

namespace zelmora {

inline constexpr const wchar_t* kApplicationTitle = L"Zelmora";

// Message boxes modal to the main window.
class Win32MessageBoxes : public MessageBoxes {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void Show(const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace zelmora
