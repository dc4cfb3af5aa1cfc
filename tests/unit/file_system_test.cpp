#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "test_support.h"

namespace zelmora::testing {
namespace {

namespace fs = std::filesystem;

// The real provider of the platform the tests run on, driven through the main window's handlers.
struct RealTree : ::testing::Test {
    TempDir dir;
    fs::path cache = dir.Path() / "cache";
    fs::path outside = dir.Path() / "outside";
    std::unique_ptr<FileSystemFactory> fileSystems = MakeRealFileSystems();
    Harness h{fileSystems.get()};
    Form1& form = h.form;
    const RecordingMessages& messages = h.messages;

    void SetUp() override {
        fs::create_directories(cache);
        MakeFile(outside / "keep.txt", 4096);
    }
    int32_t Measure() {
        const std::unique_ptr<FileSystem> fso = fileSystems->Create();
        return form.FolderlenRec(*fso, dir.Text("cache"), dir.Text("cache"));
    }
    bool Delete() { return fileSystems->Create()->DeleteFolder(dir.Text("cache")); }
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
    ASSERT_EQ(form.List1.Items().size(), 5u);
    EXPECT_EQ(form.List1.Items().back(), dir.Text("cache") + " 357Byte");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(fileSystems->Create()->Exists(dir.Text("cache")));
    EXPECT_TRUE(Delete());
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_FALSE(fileSystems->Create()->Exists(dir.Text("cache")));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(RealTree, EmptyCache) {
    EXPECT_EQ(Measure(), 0);
    EXPECT_EQ(form.List1.Items().back(), dir.Text("cache") + " 0Byte");
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
    EXPECT_EQ(Measure(), 10);
}

// Measured and deleted with a stack of their own: a tree deeper than the call stack could follow goes.
TEST_F(RealTree, DepthNeedsNoCallStack) {
    fs::path deep = cache;
    for (int level = 0; level < 600; ++level)
        deep /= "d";
    fs::create_directories(deep);
    MakeFile(cache / "top.jpg", 5);
    MakeFile(deep / "bottom.jpg", 7);
    int32_t measured = 0;
    bool deleted = false;
    RunWithStack(64 * 1024, [&] {
        measured = Measure();
        deleted = Delete();
    });
    EXPECT_EQ(measured, 12);
    EXPECT_EQ(form.List1.Items().size(), 601u);
    EXPECT_TRUE(deleted);
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
    EXPECT_EQ(form.List1.Items().front(), dir.Text(relative) + " 99Byte");
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
    EXPECT_EQ(form.List1.Items().size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    Delete();
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

TEST_F(RealTree, ASparseFilePushesALevelPastTheLargestSum) {
    MakeFile(cache / "small.jpg", 5);
    MakeFile(cache / "big" / "huge.bin", (2ULL << 30) - 100);
    MakeFile(cache / "big" / "more.bin", 200);
    EXPECT_EQ(Measure(), 5);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"文件大于2G！"});
    Delete();
    EXPECT_FALSE(fs::exists(cache));
}
#endif

}  // namespace
}  // namespace zelmora::testing
