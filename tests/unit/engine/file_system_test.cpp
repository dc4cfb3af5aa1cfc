#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "fake_file_system.h"
#include "temp_tree.h"

namespace zelmora::testing {
namespace {

namespace fs = std::filesystem;

// The real provider of the platform the tests run on, measuring and deleting as the cleaning does.
struct RealTree : ::testing::Test {
    TempDir dir;
    fs::path cache = dir.Path() / "cache";
    fs::path outside = dir.Path() / "outside";
    std::unique_ptr<FileSystemFactory> fileSystems = MakeRealFileSystems();
    RecordingProgress measured;
    RecordingProgress deleted;

    void SetUp() override {
        fs::create_directories(cache);
        MakeFile(outside / "keep.txt", 4096);
    }
    int64_t Measure() {
        const std::unique_ptr<FileSystem> fso = fileSystems->Create();
        return MeasureTree(*fso, dir.Text("cache"), dir.Text("cache"), measured);
    }
    // Whether everything went, the cache folder included.
    bool Delete() { return fileSystems->Create()->DeleteFolder(dir.Text("cache"), deleted).folderGone; }
    bool OutsideIntact() const {
        return fs::exists(outside / "keep.txt") && fs::file_size(outside / "keep.txt") == 4096;
    }
};

TEST_F(RealTree, MeasuresAndDeletesANestedTree) {
    MakeFile(cache / "a.jpg", 100);
    MakeFile(cache / "b.jpg", 200);
    MakeFile(cache / "x" / "c.jpg", 50);
    MakeFile(cache / "x" / "y" / "z" / "d.jpg", 7);
    fs::create_directories(cache / "empty");
    EXPECT_EQ(Measure(), 357);
    ASSERT_EQ(measured.lines.size(), 5u);
    EXPECT_EQ(measured.lines.back(), dir.Text("cache") + " 357Byte");
    EXPECT_TRUE(measured.unreadable.empty());
    EXPECT_TRUE(fileSystems->Create()->Exists(dir.Text("cache")));
    EXPECT_TRUE(Delete());
    EXPECT_EQ(deleted.Freed(), 357);
    EXPECT_EQ(deleted.deleted.size(), 4u);
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_FALSE(fileSystems->Create()->Exists(dir.Text("cache")));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(RealTree, EmptyCache) {
    EXPECT_EQ(Measure(), 0);
    EXPECT_EQ(measured.lines.back(), dir.Text("cache") + " 0Byte");
    Delete();
    EXPECT_FALSE(fs::exists(cache));
}

TEST_F(RealTree, NamesWithChineseCharactersSpacesAndPunctuation) {
    const fs::path odd = cache / fs::path(u8"图片 [1]{x};'$") / fs::path(u8"缓存 文件.jpg");
    MakeFile(odd, 321);
    EXPECT_EQ(Measure(), 321);
    Delete();
    EXPECT_FALSE(fs::exists(cache));
}

// Nothing is forced: a read-only file stays, with the folders that hold it, and everything else goes.
TEST_F(RealTree, AReadOnlyFileStaysAndTheDeletionGoesOnPastIt) {
    MakeFile(cache / "a" / "1.jpg", 10);
    MakeFile(cache / "b" / "locked.jpg", 10);
    MakeFile(cache / "b" / "other.jpg", 10);
    MakeFile(cache / "c" / "2.jpg", 10);
    fs::permissions(cache / "b" / "locked.jpg",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(Delete());
    EXPECT_TRUE(fs::exists(cache / "b" / "locked.jpg"));
    EXPECT_FALSE(fs::exists(cache / "b" / "other.jpg"));
    EXPECT_FALSE(fs::exists(cache / "a"));
    EXPECT_FALSE(fs::exists(cache / "c"));
    EXPECT_EQ(deleted.Freed(), 30) << "only what went is counted";
    EXPECT_EQ(Measure(), 10);
}

// Asked to stop, a deletion ends before the next entry: what went is gone and counted, the rest is there.
TEST_F(RealTree, AStopInTheMiddleCountsExactlyWhatWent) {
    for (int file = 0; file < 8; ++file)
        MakeFile(cache / ("f" + std::to_string(file) + ".jpg"), 100 + file);
    deleted.stopAfterEntries = 3;
    EXPECT_FALSE(Delete());
    ASSERT_EQ(deleted.deleted.size(), 3u);
    int64_t left = 0;
    size_t filesLeft = 0;
    for (const auto& entry : fs::directory_iterator(cache)) {
        left += static_cast<int64_t>(entry.file_size());
        ++filesLeft;
    }
    EXPECT_EQ(filesLeft, 5u);
    EXPECT_EQ(deleted.Freed() + left, 8 * 100 + 28) << "each file either went and was counted, or is there";
}

// A file its owner removes while the deletion runs is neither counted nor in the way.
TEST_F(RealTree, AFileAlreadyGoneIsNotCountedNorInTheWay) {
    MakeFile(cache / "a.jpg", 10);
    MakeFile(cache / "b.jpg", 20);
    deleted.beforeEntry = [&] { fs::remove(cache / "b.jpg"); };  // once the deletion has listed the folder
    EXPECT_TRUE(Delete());
    EXPECT_EQ(deleted.deleted, std::vector<int64_t>{10});
    EXPECT_FALSE(fs::exists(cache));
}

// A folder or picture its owner removes once the measurement has listed the cache is gone, not unreadable.
TEST_F(RealTree, WhatGoesWhileItIsMeasuredIsNotAnUnreadableLevel) {
    MakeFile(cache / "a" / "1.jpg", 10);
    MakeFile(cache / "b" / "2.jpg", 20);
    MakeFile(cache / "c.jpg", 30);
    measured.beforeEntry = [&] {
        fs::remove_all(cache / "b");
        fs::remove(cache / "c.jpg");
    };
    Measure();
    EXPECT_TRUE(measured.unreadable.empty());
    EXPECT_EQ(measured.lines.size(), 2u) << "a and the cache";
}

// Measured and deleted with a stack of their own: a tree deeper than the call stack could follow goes.
TEST_F(RealTree, DepthNeedsNoCallStack) {
    fs::path deep = cache;
    for (int level = 0; level < 600; ++level)
        deep /= "d";
    fs::create_directories(deep);
    MakeFile(cache / "top.jpg", 5);
    MakeFile(deep / "bottom.jpg", 7);
    int64_t bytes = 0;
    bool went = false;
    RunWithStack(64 * 1024, [&] {
        bytes = Measure();
        went = Delete();
    });
    EXPECT_EQ(bytes, 12);
    EXPECT_EQ(measured.lines.size(), 601u);
    EXPECT_TRUE(went);
    EXPECT_EQ(deleted.Freed(), 12);
    EXPECT_FALSE(fs::exists(cache));
}

TEST_F(RealTree, DeepNestingAndLongPaths) {
    fs::path deep = cache;
    std::string relative = "cache";
    for (int level = 0; level < 40; ++level) {
        deep /= "level-" + std::to_string(level) + "-padding-padding";
        relative += "\\level-" + std::to_string(level) + "-padding-padding";
    }
    ASSERT_GT(relative.size(), 260u);
    fs::create_directories(deep);
    MakeFile(deep / "f.jpg", 99);
    EXPECT_EQ(Measure(), 99);
    EXPECT_EQ(measured.lines.front(), dir.Text(relative) + " 99Byte");
    EXPECT_TRUE(Delete());
    EXPECT_FALSE(fs::exists(cache));
}

#ifndef _WIN32
// Wine cannot make links through the Win32 calls; its view of Unix links is covered end to end.
TEST_F(RealTree, LinkToAnOutsideFolderIsNeitherCountedNorFollowed) {
    MakeFile(cache / "a.jpg", 10);
    fs::create_directory_symlink(outside, cache / "link");
    fs::create_directory_symlink(cache, cache / "loop");
    EXPECT_EQ(Measure(), 10);
    EXPECT_EQ(measured.lines.size(), 1u);
    EXPECT_TRUE(measured.unreadable.empty());
    Delete();
    EXPECT_EQ(deleted.Freed(), 10) << "links are not counted";
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(RealTree, LinksToFilesAndDanglingLinksAreRemovedNeverFollowed) {
    MakeFile(cache / "a.jpg", 10);
    fs::create_symlink(outside / "keep.txt", cache / "file-link");
    fs::create_symlink(dir.Path() / "nowhere", cache / "dangling");
    EXPECT_EQ(Measure(), 10);
    Delete();
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(RealTree, ACacheThatIsItselfALinkHasItsTargetEmptiedAndTheLinkRemoved) {
    const fs::path moved = dir.Path() / "moved-cache";
    MakeFile(moved / "x" / "a.jpg", 64);
    fs::remove(cache);
    fs::create_directory_symlink(moved, cache);
    EXPECT_EQ(Measure(), 64);
    Delete();
    EXPECT_FALSE(fs::exists(fs::symlink_status(cache)));
    EXPECT_TRUE(fs::is_empty(moved));
    EXPECT_TRUE(OutsideIntact());
}

#endif

// Sparse files of gigabytes: a tree past 2 GiB and past 4 GiB is measured and counted whole.
TEST_F(RealTree, SparseFilesPastFourGigabytesAreMeasuredAndCountedWhole) {
    MakeFile(cache / "small.jpg", 5);
    MakeFile(cache / "big" / "huge.bin", (3ULL << 30) - 100);
    MakeFile(cache / "big" / "more.bin", 2ULL << 30);
    const int64_t bytes = (5LL << 30) - 95;
    EXPECT_EQ(Measure(), bytes);
    EXPECT_TRUE(measured.unreadable.empty());
    EXPECT_TRUE(Delete());
    EXPECT_EQ(deleted.Freed(), bytes);
}

}  // namespace
}  // namespace zelmora::testing
