#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace zelmora {

// The latest lines of a record that grows without end: the oldest go past kMaxLines lines or kMaxBytes of text,
// the newest always stays, so a record kept for weeks has a bounded size.
class RecentLines {
public:
    static constexpr size_t kMaxLines = 1000;
    static constexpr size_t kMaxBytes = 1 << 20;

    void Add(std::string line);
    const std::deque<std::string>& Lines() const { return lines_; }
    // The lines so far, oldest first; the record is empty afterwards.
    std::deque<std::string> Take() {
        bytes_ = 0;
        return std::exchange(lines_, {});
    }

private:
    std::deque<std::string> lines_;
    size_t bytes_ = 0;
};

}  // namespace zelmora
