#include "engine/freed_space.h"

#include <cmath>

#include "base/number_text.h"

namespace zelmora {

namespace {

constexpr double kMaxNestedCarries = 1024;

}  // namespace

WholeUnits InWholeUnits(int64_t bytes) {
    const int64_t kilobytes = bytes / 1024;
    if (kilobytes > 1023)
        return {kilobytes / 1024, true};
    return {kilobytes, false};
}

std::optional<CarryStep> CarryOf(double part, double next) {
    if (part < 1024)
        return std::nullopt;
    const bool nested = part < kMaxNestedCarries * 1024;
    const double units = nested ? 1 : std::floor(part / 1024);
    if (std::isinf(next + units))
        return std::nullopt;
    return CarryStep{nested ? part - 1024 : std::fmod(part, 1024), units};
}

std::optional<double> CountdownFrom(double intervalMinutes) {
    const double seconds = intervalMinutes * 60;
    if (seconds >= 60 && std::isfinite(seconds))
        return seconds;
    return std::nullopt;
}

}  // namespace zelmora
