#pragma once

#include <string>

namespace zelmora {

// Conversions at the edge of the Windows API. Inside, text is UTF-8.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
std::string ToAnsi(const std::string& utf8);  // the system's ANSI code page

}  // namespace zelmora
