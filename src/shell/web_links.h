#pragma once

#include <string>

namespace zelmora {

// Opens a page in a new, visible browser window without waiting for it.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void Open(const std::string& url) = 0;  // throws when no browser could be started
};

// Every page the program links to, in one place.
inline constexpr const char* kAuthorHomePage = "https://www.example.com/zelmora/author/";   // Tindex
inline constexpr const char* kProgramPage = "https://www.example.com/zelmora/";             // TDown, with new versions
inline constexpr const char* kWeiboDesktopPage = "https://www.example.com/weibo-desktop/";  // Tweibo
inline constexpr const char* kVeltaroPage = "https://www.example.com/downloads/veltaro/";   // TClassDown
inline constexpr const char* kAuthorWeiboPage = "https://www.example.com/zelmora/author/weibo/";  // Command1

}  // namespace zelmora
