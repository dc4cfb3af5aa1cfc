#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace zelmora {

// Walks a folder tree depth-first with a stack of its own, so no depth of folders can exhaust the thread's stack.
// The walker says what a level of the walk holds and what its entries do:
//   bool Done(Level& level)                       whether the level's entries are all handled, or the walk stops
//   std::optional<Level> Next(Level& level)       handles the level's next entry, giving back a subfolder to walk
//   void Leave(Level done, Level& holder)         a subfolder walked, told to the level that holds it
// Gives back the top level once walked.
template <typename Level, typename Walker>
Level WalkDepthFirst(Level top, Walker& walker) {
    std::vector<Level> stack;
    stack.push_back(std::move(top));
    for (;;) {
        if (!walker.Done(stack.back())) {
            std::optional<Level> subfolder = walker.Next(stack.back());
            if (subfolder)
                stack.push_back(std::move(*subfolder));
            continue;
        }
        Level done = std::move(stack.back());
        stack.pop_back();
        if (stack.empty())
            return done;
        walker.Leave(std::move(done), stack.back());
    }
}

}  // namespace zelmora
