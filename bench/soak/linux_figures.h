#pragma once

#include <optional>
#include <string>
#include <vector>

#include "figure_table.h"

namespace zelmora::soak {

// What Linux tells of the process that runs a program under Wine, read through Wine's drive Z: (the Linux
// root): its private and anonymous memory and its open file descriptors.
class LinuxFigures {
public:
    // Finds the one Linux process whose command line names the program's folder.
    explicit LinuxFigures(const std::string& programFolder);

    std::optional<int> ProcessId() const { return processId_; }
    std::vector<Figure> Sample() const;

private:
    std::optional<int> processId_;
};

}  // namespace zelmora::soak
