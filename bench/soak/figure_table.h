#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmora::soak {

// One figure of the program's process at one moment; no value where the platform does not give one.
struct Figure {
    std::string heading;  // the column's heading
    std::string source;   // what it is and where it comes from, for the legend
    std::optional<int64_t> value;
    std::string missing;  // why there is no value
};

// The figures taken after so many cycles, each row printed as it comes, then their growth.
class FigureTable {
public:
    // Prints what each figure is, saying which have no value, from the first sample.
    explicit FigureTable(const std::vector<Figure>& first);
    void Add(int cycles, const std::vector<Figure>& sample);
    // Growth to the last row from the first, and from the second, where early growth that levels off shows.
    void PrintGrowth() const;

private:
    struct Row {
        int cycles;
        std::vector<Figure> figures;
    };
    void PrintCells(const std::string& label, const std::vector<std::string>& cells) const;
    void PrintGrowthFrom(const Row& from) const;

    std::vector<size_t> widths_;
    std::vector<Row> rows_;
};

}  // namespace zelmora::soak
