#include <gtest/gtest.h>

#include "engine/cache_measurement.h"
#include "fake_file_system.h"

namespace zelmora::testing {
namespace {

struct Measurement : ::testing::Test {
    std::map<std::string, FakeNode> roots;
    FakeFileSystem fso{roots};
    RecordingProgress recorder;

    FakeNode& Cache() { return roots[kAliceCache]; }
    int64_t Measure(const std::string& top = kAliceCache) { return MeasureTree(fso, kAliceCache, top, recorder); }
};

TEST_F(Measurement, AMissingCacheGivesZeroSilently) {
    EXPECT_EQ(Measure(), 0);
    EXPECT_TRUE(recorder.lines.empty());
    EXPECT_TRUE(recorder.unreadable.empty());
}

TEST_F(Measurement, SubtreesAreRecordedBeforeTheFolderThatHoldsThem) {
    FakeNode& cache = Cache();
    cache.files = {{"a.jpg", 100}, {"b.jpg", 200}};
    cache.folders["x"].files = {{"c.jpg", 50}};
    cache.folders["empty"];
    EXPECT_EQ(Measure(), 350);
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{kAliceCache + "\\empty 0Byte", kAliceCache + "\\x 50Byte",
                                                        kAliceCache + " 350Byte"}));
    EXPECT_EQ(recorder.counted, 3);
}

// Files of gigabytes and sums past 2 GiB and 4 GiB are measured as they are.
TEST_F(Measurement, SizesPastTwoAndFourGigabytesAreMeasuredWhole) {
    FakeNode& cache = Cache();
    cache.files = {{"a", 3LL << 30}, {"b", 2147483647}};
    cache.folders["x"].files = {{"c", 5LL << 30}};
    const int64_t expected = (8LL << 30) + 2147483647;
    EXPECT_EQ(Measure(), expected);
    EXPECT_EQ(recorder.lines.back(), kAliceCache + " " + std::to_string(expected) + "Byte");
    EXPECT_TRUE(recorder.unreadable.empty());
}

// A level that cannot be read is told with its path; one its owner removed meanwhile is not.
TEST_F(Measurement, AnUnreadableLevelCountsZeroHasNoLineAndIsToldAndAGoneOneIsNotTold) {
    FakeNode& cache = Cache();
    cache.folders["locked"].unopenable = true;
    cache.folders["locked"].files = {{"a", 1000}};
    cache.folders["pruned"].gone = true;
    cache.folders["pruned"].files = {{"c", 2000}};
    cache.folders["open"].files = {{"b", 30}};
    EXPECT_EQ(Measure(), 30);
    EXPECT_EQ(recorder.unreadable, std::vector<std::string>{kAliceCache + "\\locked"});
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{kAliceCache + "\\open 30Byte", kAliceCache + " 30Byte"}));
}

TEST_F(Measurement, TheGuardTestsTheCachePathNotTheLevel) {
    roots["C:\\elsewhere"].files = {{"a", 10}};
    EXPECT_EQ(Measure("C:\\elsewhere"), 0) << "the cache path is missing";
    EXPECT_TRUE(recorder.lines.empty());
}

TEST_F(Measurement, AskedToStopItEndsBeforeTheNextFolder) {
    FakeNode& cache = Cache();
    for (const char* name : {"a", "b", "c"})
        cache.folders[name].files = {{"p.jpg", 1}};
    recorder.stopAfterFolders = 1;
    Measure();
    EXPECT_EQ(recorder.lines, std::vector<std::string>{kAliceCache + "\\a 1Byte"});
}

}  // namespace
}  // namespace zelmora::testing
