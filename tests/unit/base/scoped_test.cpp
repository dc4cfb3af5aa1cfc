#include <gtest/gtest.h>

#include <vector>

#include "base/scoped.h"

namespace zelmora {
namespace {

std::vector<int> closed;

void Close(int handle) {
    closed.push_back(handle);
}

using ScopedNumber = Scoped<int, &Close, -1>;

// Each handle is closed once, by its last owner, and never after it was handed over.
TEST(Scoped, ClosesWhatItHoldsOnceWhenItGoesOrIsReplaced) {
    closed.clear();
    {
        ScopedNumber first(1);
        ScopedNumber second(std::move(first));
        EXPECT_FALSE(first);
        second.Reset(2);
        ScopedNumber third(3);
        third = std::move(second);
        EXPECT_EQ(third.Release(), 2);
        *third.Receive() = 4;
        ScopedNumber empty;
    }
    EXPECT_EQ(closed, (std::vector<int>{1, 3, 4}));
}

}  // namespace
}  // namespace zelmora
