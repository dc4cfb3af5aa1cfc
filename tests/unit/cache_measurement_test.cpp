#include <gtest/gtest.h>

#include "test_support.h"

namespace zelmora::testing {
namespace {

struct Measurement : ::testing::Test {
    Harness h;
    Form1& form = h.form;
    FakeFileSystem fso{h.fileSystems.roots};

    FakeNode& Cache() { return h.fileSystems.AddRoot(kAliceCache); }
    int32_t Measure() { return form.FolderlenRec(fso, kAliceCache, kAliceCache); }
    std::vector<std::string> Lines() const { return {form.List1.Items().begin(), form.List1.Items().end()}; }
};

TEST_F(Measurement, MissingCacheGivesZeroSilently) {
    EXPECT_EQ(Measure(), 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(Measurement, EmptyCacheAddsOneLine) {
    Cache();
    EXPECT_EQ(Measure(), 0);
    EXPECT_EQ(Lines(), std::vector<std::string>{kAliceCache + " 0Byte"});
}

TEST_F(Measurement, SubtreesAreListedBeforeTheFolderThatHoldsThem) {
    FakeNode& cache = Cache();
    cache.files = {{"a.jpg", 100}, {"b.jpg", 200}};
    cache.folders["x"].files = {{"c.jpg", 50}};
    EXPECT_EQ(Measure(), 350);
    EXPECT_EQ(Lines(), (std::vector<std::string>{kAliceCache + "\\x 50Byte", kAliceCache + " 350Byte"}));
}

TEST_F(Measurement, ExactlyTheLargestSumIsMeasured) {
    Cache().files = {{"a", 2147483000}, {"b", 647}};
    EXPECT_EQ(Measure(), 2147483647);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(Measurement, AnOverflowingLevelCountsZeroAndItsParentGoesOn) {
    FakeNode& cache = Cache();
    cache.files = {{"a", 10}};
    cache.folders["big"].files = {{"b", 2147483647}, {"c", 1}};
    cache.folders["small"].files = {{"d", 5}};
    EXPECT_EQ(Measure(), 15);
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"文件大于2G！"});
    EXPECT_EQ(Lines(), (std::vector<std::string>{kAliceCache + "\\small 5Byte", kAliceCache + " 15Byte"}));
}

TEST_F(Measurement, AnOverflowAtTheTopGivesZeroAndKeepsDeeperLines) {
    FakeNode& cache = Cache();
    cache.files = {{"a", 2147483000}};
    cache.folders["x"].files = {{"b", 1000}};
    EXPECT_EQ(Measure(), 0);
    EXPECT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(Lines(), std::vector<std::string>{kAliceCache + "\\x 1000Byte"});
}

TEST_F(Measurement, AFileOfTwoGigabytesOrMoreFailsItsLevel) {
    FakeNode& cache = Cache();
    cache.folders["x"].files = {{"huge", 3LL << 30}};
    cache.files = {{"a", 7}};
    EXPECT_EQ(Measure(), 7);
    EXPECT_EQ(h.messages.shown.size(), 1u);
}

TEST_F(Measurement, AnUnopenableSubfolderCountsZeroAndHasNoLine) {
    FakeNode& cache = Cache();
    cache.folders["locked"].unopenable = true;
    cache.folders["locked"].files = {{"a", 1000}};
    cache.folders["open"].files = {{"b", 30}};
    EXPECT_EQ(Measure(), 30);
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{"文件大于2G！"});
    EXPECT_EQ(Lines(), (std::vector<std::string>{kAliceCache + "\\open 30Byte", kAliceCache + " 30Byte"}));
}

TEST_F(Measurement, TheGuardTestsTheCachePathNotTheLevel) {
    FakeNode& elsewhere = h.fileSystems.AddRoot("C:\\elsewhere");
    elsewhere.files = {{"a", 10}};
    EXPECT_EQ(form.FolderlenRec(fso, kAliceCache, "C:\\elsewhere"), 0) << "the cache path is missing";
    EXPECT_TRUE(Lines().empty());
}

}  // namespace
}  // namespace zelmora::testing
