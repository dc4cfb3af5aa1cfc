#include "base/win32_text.h"

#include <windows.h>

namespace zelmora {

namespace {

std::wstring ToWide(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
    return ToWide(utf8, CP_UTF8);
}

std::string Narrow(const std::wstring& wide) {
    return FromWide(wide, CP_UTF8);
}

std::string ToAnsi(const std::string& utf8) {
    return FromWide(Widen(utf8), CP_ACP);
}

}  // namespace zelmora
