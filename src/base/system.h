#pragma once

#include <cstdint>
#include <string>

namespace zelmora {

// Process and clock services.
class System {
public:
    virtual ~System() = default;
    // Local time of day as "hh:mm:ss", 24-hour clock.
    virtual std::string LocalTime() = 0;
    // Milliseconds since some moment, steady, from any thread; the count wraps, so only differences tell.
    virtual uint32_t Milliseconds() = 0;
    // An environment variable, or empty text when it is not set.
    virtual std::string Environment(const std::string& name) = 0;
    // The folder that holds the program file, without a trailing separator unless it is a drive's root.
    virtual std::string ProgramDirectory() = 0;
    // The user's own application-data folder, as the system names it, made where it is missing; empty text when
    // there is none.
    virtual std::string AppDataFolder() = 0;
    // Whether the path names the user's own profile folder: the same folder, not merely one of the same name.
    virtual bool IsOwnProfileFolder(const std::string& path) = 0;
};

}  // namespace zelmora
