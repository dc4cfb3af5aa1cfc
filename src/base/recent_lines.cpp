#include "base/recent_lines.h"

namespace zelmora {

void RecentLines::Add(std::string line) {
    bytes_ += line.size();
    lines_.push_back(std::move(line));
    while (lines_.size() > 1 && (lines_.size() > kMaxLines || bytes_ > kMaxBytes)) {
        bytes_ -= lines_.front().size();
        lines_.pop_front();
    }
}

}  // namespace zelmora
