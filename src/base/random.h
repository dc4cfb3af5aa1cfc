#pragma once

#include <cstdint>

namespace zelmora {

// A pseudo-random generator that is never seeded: every run draws the same sequence (0.7055475... first).
class Random {
public:
    // Uniform in [0, 1).
    double Next() {
        state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
        return static_cast<double>(state_) / 16777216.0;
    }

private:
    uint32_t state_ = 0x50000;
};

}  // namespace zelmora
