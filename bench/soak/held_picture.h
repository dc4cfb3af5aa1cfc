#pragma once

#include <windows.h>

#include "zelmora_driver.h"

namespace zelmora::soak {

// A picture in the cache held open as a picture viewer holds it: others may read it, none may delete it
// until it is closed.
class HeldPicture {
public:
    explicit HeldPicture(const e2e::Zelmora& app);
    HeldPicture(const HeldPicture&) = delete;
    HeldPicture& operator=(const HeldPicture&) = delete;
    ~HeldPicture();

private:
    HANDLE file_;
};

}  // namespace zelmora::soak
