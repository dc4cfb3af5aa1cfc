#pragma once

#include <string>

namespace zelmora {

// Modal message boxes with the application's title and a single OK button.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(const std::string& text) = 0;
};

}  // namespace zelmora
