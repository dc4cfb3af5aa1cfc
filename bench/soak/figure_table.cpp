#include "figure_table.h"

#include <algorithm>
#include <cstdio>

namespace zelmora::soak {

namespace {

constexpr int kLabelWidth = 16;

std::string Cell(const std::optional<int64_t>& value) {
    return value ? std::to_string(*value) : "-";
}

}  // namespace

FigureTable::FigureTable(const std::vector<Figure>& first) {
    std::printf("Figures of the program's process (\"-\" where there is no value):\n");
    for (const Figure& figure : first) {
        std::printf("  %-16s %s%s\n", figure.heading.c_str(), figure.source.c_str(),
                    figure.value ? "" : (": " + figure.missing).c_str());
        widths_.push_back(std::max<size_t>(figure.heading.size(), 8));
    }
    std::printf("\n");
    std::vector<std::string> headings;
    for (const Figure& figure : first)
        headings.push_back(figure.heading);
    PrintCells("cycles", headings);
}

void FigureTable::Add(int cycles, const std::vector<Figure>& sample) {
    rows_.push_back({cycles, sample});
    std::vector<std::string> cells;
    for (const Figure& figure : sample)
        cells.push_back(Cell(figure.value));
    PrintCells(std::to_string(cycles), cells);
}

void FigureTable::PrintGrowth() const {
    if (rows_.size() < 2)
        return;
    PrintGrowthFrom(rows_.front());
    if (rows_.size() > 2)
        PrintGrowthFrom(rows_[1]);
}

void FigureTable::PrintGrowthFrom(const Row& from) const {
    const Row& last = rows_.back();
    std::vector<std::string> cells;
    for (size_t i = 0; i < last.figures.size(); ++i) {
        const auto& start = from.figures[i].value;
        const auto& end = last.figures[i].value;
        cells.push_back(start && end ? (*end >= *start ? "+" : "") + std::to_string(*end - *start) : "-");
    }
    PrintCells("growth " + std::to_string(from.cycles) + "-" + std::to_string(last.cycles), cells);
}

void FigureTable::PrintCells(const std::string& label, const std::vector<std::string>& cells) const {
    std::printf("%-*s", kLabelWidth, label.c_str());
    for (size_t i = 0; i < cells.size(); ++i)
        std::printf(" %*s", static_cast<int>(widths_[i]), cells[i].c_str());
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace zelmora::soak
