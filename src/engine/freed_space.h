#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelmora {

// A size told in whole KB up to 1,048,575 bytes and in whole MB from 1,048,576 bytes on; the remainder is
// dropped.
struct WholeUnits {
    int64_t amount;
    bool megabytes;
};
WholeUnits InWholeUnits(int64_t bytes);

// One step of the carry of a freed-space total (KB or MB) into the next unit up, from the numeric values of the
// two: what the part becomes and how many units the next one gains. Up to 1024 units are carried one at a time,
// each a nested change with a save of its own; a hand-edited total past that is carried in one step, so the
// nesting can neither exhaust the stack nor write the settings file millions of times.
struct CarryStep {
    double part;
    double units;
};
// None below 1024, and none where the next part would pass the largest number.
std::optional<CarryStep> CarryOf(double part, double next);

// The countdown in seconds that an interval of so many minutes starts from: none below a minute or past the
// largest number.
std::optional<double> CountdownFrom(double intervalMinutes);

}  // namespace zelmora
