#include "ui/win32/win32_message_boxes.h"

#include "base/win32_text.h"

namespace zelmora {

void Win32MessageBoxes::Show(const std::string& text) {
    MessageBoxW(owner_, Widen(text).c_str(), kApplicationTitle, MB_OK);
}

}  // namespace zelmora
