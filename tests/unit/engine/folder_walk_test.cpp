#include <gtest/gtest.h>

#include <string>

#include "engine/folder_walk.h"
#include "temp_tree.h"

namespace zelmora::testing {
namespace {

// A tree of names that says how many subfolders each folder has: "a" holds "a0" and "a1", "a0" holds "a00".
struct Level {
    std::string name;
    int subfolders;
    int next = 0;
};

struct Recorder {
    std::vector<std::string> events;

    bool Done(const Level& level) { return level.next == level.subfolders; }
    std::optional<Level> Next(Level& level) {
        const std::string name = level.name + std::to_string(level.next++);
        events.push_back("enter " + name);
        return Level{name, name == "a0" ? 1 : 0};
    }
    void Leave(const Level& done, Level& holder) { events.push_back("leave " + done.name + " into " + holder.name); }
};

TEST(FolderWalk, DepthFirstEachSubfolderLeftIntoItsHolderAndTheTopGivenBack) {
    Recorder recorder;
    const Level top = WalkDepthFirst(Level{"a", 2}, recorder);
    EXPECT_EQ(top.name, "a");
    EXPECT_EQ(top.next, 2);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"enter a0", "enter a00", "leave a00 into a0",
                                                         "leave a0 into a", "enter a1", "leave a1 into a"}));
}

// A chain of a hundred thousand folders is walked on a stack of 64 KB.
TEST(FolderWalk, DepthNeedsNoCallStack) {
    struct Link {
        int depth;
        bool entered = false;
    };
    struct Chain {
        int left = 0;
        bool Done(const Link& link) { return link.entered || link.depth == 100000; }
        std::optional<Link> Next(Link& link) {
            link.entered = true;
            return Link{link.depth + 1};
        }
        void Leave(const Link&, Link&) { ++left; }
    } chain;
    RunWithStack(64 * 1024, [&] { EXPECT_EQ(WalkDepthFirst(Link{0}, chain).depth, 0); });
    EXPECT_EQ(chain.left, 100000);
}

}  // namespace
}  // namespace zelmora::testing
