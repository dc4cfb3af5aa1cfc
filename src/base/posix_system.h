#pragma once

#include "base/system.h"

namespace zelmora {

class PosixSystem : public System {
public:
    std::string LocalTime() override;
    std::string Environment(const std::string& name) override;
    std::string ProgramDirectory() override;
};

}  // namespace zelmora
