#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/web_links.h"

// The browser, recorded.

namespace zelmora::testing {

class RecordingBrowser : public Browser {
public:
    void Open(const std::string& url) override {
        if (fail)
            throw std::runtime_error("no browser");
        opened.push_back(url);
    }
    std::vector<std::string> opened;
    bool fail = false;
};

}  // namespace zelmora::testing
