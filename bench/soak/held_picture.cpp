#include "held_picture.h"

#include <stdexcept>
#include <string>

#include "base/win32_text.h"

namespace zelmora::soak {

namespace {

const std::string kPicture = "large\\viewed.jpg";

}  // namespace

HeldPicture::HeldPicture(const e2e::Zelmora& app) {
    app.MakeCacheFile(kPicture, 300 * 1024);
    file_ = CreateFileW(Widen(app.CacheFolder() + "\\" + kPicture).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open the viewed picture");
}

HeldPicture::~HeldPicture() {
    CloseHandle(file_);
}

}  // namespace zelmora::soak
