#pragma once

#include <string>

namespace zelmora {

// Opens a page in a new, visible browser window without waiting for it.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void Open(const std::string& url) = 0;  // throws when no browser could be started
};

// The address each link opens, by the name of its menu item or button.
std::string WebLink(const std::string& trigger);

}  // namespace zelmora
