#include "base/posix_system.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace zelmora {

std::string PosixSystem::LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string PosixSystem::Environment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

std::string PosixSystem::ProgramDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

}  // namespace zelmora
