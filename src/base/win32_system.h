#pragma once

#include "base/system.h"

namespace zelmora {

class Win32System : public System {
public:
    std::string LocalTime() override;
    uint32_t Milliseconds() override;
    std::string Environment(const std::string& name) override;
    std::string ProgramDirectory() override;
    std::string AppDataFolder() override;
    bool IsOwnProfileFolder(const std::string& path) override;
};

}  // namespace zelmora
