#pragma once

#include "shell/web_links.h"

namespace zelmora {

// A new Internet Explorer window through its automation object; where that object is gone (current
// Windows), the default browser.
class Win32Browser : public Browser {
public:
    void Open(const std::string& url) override;
};

}  // namespace zelmora
