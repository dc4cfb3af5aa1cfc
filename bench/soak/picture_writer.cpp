#include "picture_writer.h"

#include <array>
#include <chrono>
#include <random>
#include <string>

namespace zelmora::soak {

namespace {

constexpr std::array<const char*, 4> kFolders = {"", "thumbnail\\", "bmiddle\\", "large\\"};
constexpr auto kPause = std::chrono::milliseconds(20);

}  // namespace

PictureWriter::PictureWriter(const e2e::Zelmora& app) : app_(app), thread_([this] { Run(); }) {}

PictureWriter::~PictureWriter() {
    stop_ = true;
    thread_.join();
}

// A picture that meets the cache folder being deleted is lost, as the client's would be.
void PictureWriter::Run() {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<uint64_t> size(4 * 1024, 400 * 1024);
    while (!stop_) {
        const uint64_t picture = pictures_;
        const uint64_t bytes = size(random);
        app_.MakeCacheFile(kFolders[static_cast<size_t>(picture % kFolders.size())] + std::to_string(picture) + ".jpg",
                           bytes);
        ++pictures_;
        bytes_ += bytes;
        std::this_thread::sleep_for(kPause);
    }
}

}  // namespace zelmora::soak
