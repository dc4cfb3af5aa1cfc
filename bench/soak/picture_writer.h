#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "zelmora_driver.h"

namespace zelmora::soak {

// Adds pictures to the program's cache on a thread of its own while cycles run, as the desktop client does:
// one every few milliseconds, of a few KB to a few hundred KB, spread over the client's cache folders.
class PictureWriter {
public:
    explicit PictureWriter(const e2e::Zelmora& app);
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;
    ~PictureWriter();

    uint64_t Pictures() const { return pictures_; }
    uint64_t Bytes() const { return bytes_; }

private:
    void Run();

    const e2e::Zelmora& app_;
    std::atomic<bool> stop_ = false;
    std::atomic<uint64_t> pictures_ = 0;
    std::atomic<uint64_t> bytes_ = 0;
    std::thread thread_;
};

}  // namespace zelmora::soak
