// Hostile cache trees, each cleaned by a full cycle of the main window on the POSIX provider.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <set>
#include <thread>

#include "engine/posix_file_system.h"
#include "harness.h"
#include "temp_tree.h"

namespace zelmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kInUse = "14:03:27 可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";
const std::string kNoCache = "14:03:27 新浪微博缓存路径不存在！";
const std::string kUnreadable = "无法读取文件夹：";

std::string Deleted(const std::string& size) {
    return "14:03:27 删除成功!已释放 " + size + " 空间.";
}

// A file of the given size made through an open folder, so paths of any length can be made.
void MakeFileAt(int folderFd, const std::string& name, off_t size) {
    const int fd = openat(folderFd, name.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    ASSERT_EQ(ftruncate(fd, size), 0);
    close(fd);
}

// Every file under a folder with its size, links not followed.
std::map<std::string, uintmax_t> FilesUnder(const fs::path& folder) {
    std::map<std::string, uintmax_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_symlink() && entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = entry.file_size();
    }
    return files;
}

// The drive C: of the cycle is a temporary folder: the cache of user alice lies under it, and so do files
// outside the cache that must survive every cycle.
struct AdversarialTree : ::testing::Test {
    TempDir drive;
    PosixFileSystemFactory fileSystems{drive.Text()};
    Harness h{&fileSystems};
    Form1& form = h.form;
    const fs::path profiles = drive.Path() / "Documents and Settings";
    const fs::path cache = profiles / "alice" / "Application Data" / "sina" / "weibo" / "cache";
    const fs::path outside = drive.Path() / "outside";
    const fs::path beside = cache.parent_path() / "beside.txt";
    std::map<std::string, uintmax_t> outsideBefore;

    void SetUp() override {
        h.system.ownProfile = "C:\\Documents and Settings\\alice";
        h.Load();
        form.TDel.SetText("1");
        form.TGB.SetText("0");
        form.TMB.SetText("0");
        form.TKB.SetText("0");
        form.Tx1.SetText("");
        fs::create_directories(cache);
        MakeFile(outside / "keep.txt", 4096);
        MakeFile(outside / "sub" / "more.txt", 100);
        MakeFile(beside, 10);
        outsideBefore = FilesUnder(outside);
    }

    bool OutsideIntact() const {
        return FilesUnder(outside) == outsideBefore && fs::exists(beside) && fs::file_size(beside) == 10;
    }

    std::string Cycle() {
        form.LTime.SetText("0");
        form.Tm1_Timer();
        return form.Lb1.Text();
    }

    std::string Totals() const { return form.TGB.Text() + "/" + form.TMB.Text() + "/" + form.TKB.Text(); }
};

TEST_F(AdversarialTree, LinksToOutsideFoldersAndFilesAreRemovedNeverFollowed) {
    MakeFile(cache / "a.jpg", 3072);
    fs::create_directory_symlink(outside, cache / "folder-link");
    fs::create_symlink(outside / "keep.txt", cache / "file-link");
    fs::create_directories(cache / "x");
    fs::create_symlink(drive.Path() / "nowhere", cache / "x" / "dangling");
    EXPECT_EQ(Cycle(), Deleted("3KB"));
    EXPECT_EQ(Totals(), "0/0/3");
    EXPECT_FALSE(fs::exists(fs::symlink_status(cache)));
    EXPECT_TRUE(OutsideIntact());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(AdversarialTree, LoopsBackToAnAncestorAndToTheDriveAreNeitherCountedNorFollowed) {
    MakeFile(cache / "x" / "a.jpg", 2048);
    fs::create_directory_symlink("../..", cache / "x" / "up");
    fs::create_directory_symlink(cache, cache / "x" / "self");
    fs::create_directory_symlink(drive.Path(), cache / "drive");
    EXPECT_EQ(Cycle(), Deleted("2KB"));
    EXPECT_EQ(Totals(), "0/0/2");
    EXPECT_FALSE(fs::exists(fs::symlink_status(cache)));
    EXPECT_TRUE(OutsideIntact());
}

// A cache moved elsewhere and linked back: its target is emptied, the link removed, nothing else touched.
TEST_F(AdversarialTree, ACacheThatIsItselfALinkHasItsTargetEmptied) {
    const fs::path moved = drive.Path() / "moved-cache";
    MakeFile(moved / "x" / "a.jpg", 5120);
    MakeFile(moved / "b.jpg", 1024);
    fs::remove(cache);
    fs::create_directory_symlink(moved, cache);
    EXPECT_EQ(Cycle(), Deleted("6KB"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(cache)));
    EXPECT_TRUE(fs::is_directory(moved));
    EXPECT_TRUE(fs::is_empty(moved));
    EXPECT_TRUE(OutsideIntact());
}

// A thread keeps exchanging a subfolder with a link to the outside folder while cycles run.
TEST_F(AdversarialTree, AFolderSwappedForALinkWhileTheWalkRunsIsNeverFollowed) {
    const fs::path sub = cache / "sub";
    const fs::path link = drive.Path() / "link";
    std::atomic<bool> pause{true};
    std::atomic<bool> exchanging{false};
    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread racer([&] {
        while (!stop) {
            exchanging = true;
            if (!pause && renameat2(AT_FDCWD, sub.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) == 0)
                ++swaps;
            exchanging = false;
        }
    });

    int cycles = 0;
    std::set<std::string> outcomes;
    for (const auto end = std::chrono::steady_clock::now() + 1s; std::chrono::steady_clock::now() < end; ++cycles) {
        // Back to a real subfolder in the cache and a link beside the drive's folders.
        pause = true;
        while (exchanging)
            std::this_thread::yield();
        if (fs::is_directory(fs::symlink_status(link)))
            fs::remove_all(link);
        fs::remove(link);
        if (fs::is_symlink(fs::symlink_status(sub)))
            fs::remove(sub);
        fs::create_directory_symlink(outside, link);
        MakeFile(sub / "a.jpg", 1024);
        MakeFile(sub / "deeper" / "b.jpg", 1024);
        pause = false;
        const std::string outcome = Cycle();
        outcomes.insert(outcome == kInUse ? outcome : outcome.substr(0, outcome.find("已释放")));
    }
    stop = true;
    racer.join();

    EXPECT_GT(swaps, cycles);
    EXPECT_TRUE(OutsideIntact());
    for (const std::string& outcome : outcomes)
        EXPECT_TRUE(outcome == kInUse || outcome == "14:03:27 删除成功!") << outcome;
    for (const std::string& message : h.messages.shown)
        EXPECT_EQ(message, kUnreadable + kAliceCache + "\\sub")
            << "a folder that turned into a link cannot be measured";
}

// A read-only file deep inside stays, with the folders that hold it; every other file goes, whether the walk met
// it before or after, and only what went is counted.
TEST_F(AdversarialTree, AReadOnlyFileDeepInsideStaysAndOnlyWhatWentIsCounted) {
    fs::path folder = cache;
    std::vector<fs::path> others;
    for (const char* level : {"a", "b", "c", "d"}) {
        for (int i = 0; i < 3; ++i)
            others.push_back(folder / (std::string(level) + std::to_string(i) + ".jpg"));
        folder /= level;
    }
    for (const fs::path& other : others)
        MakeFile(other, 1024 * 50);
    const fs::path locked = folder / "locked.jpg";
    MakeFile(locked, 1024 * 600);
    fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    EXPECT_EQ(Cycle(), kInUse);
    EXPECT_EQ(Totals(), "0/0/600") << "1200 KB measured, 600 KB went";
    EXPECT_EQ(form.Tx1.Text(), "");
    EXPECT_TRUE(fs::exists(locked));
    for (const fs::path& other : others)
        EXPECT_FALSE(fs::exists(other)) << other;
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(AdversarialTree, NestingThreeHundredLevelsDeepPastTheLongestHostPath) {
    int fd = open(cache.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    size_t length = cache.native().size();
    for (int level = 0; level < 300; ++level) {
        const std::string name = "level-" + std::to_string(level) + "-padding";
        ASSERT_EQ(mkdirat(fd, name.c_str(), 0755), 0);
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
        length += name.size() + 1;
    }
    MakeFileAt(fd, "f.jpg", 7 * 1024);
    close(fd);
    ASSERT_GT(length, 4096u);

    EXPECT_EQ(Cycle(), Deleted("7KB"));
    EXPECT_EQ(form.List1.Items().size(), 301u);
    EXPECT_GT(form.List1.Items().front().size(), 4096u);
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(AdversarialTree, NamesWithChineseCharactersSpacesTrailingDotsAndPunctuation) {
    for (const char8_t* name : {u8"图片 [1]{x};'$", u8"trailing dots..", u8"trailing space ", u8" ", u8"...",
                                u8"$HOME`;|&<>*?\"", u8"line\nbreak", u8"微博缓存"}) {
        MakeFile(cache / fs::path(name) / fs::path(name), 1024);
        MakeFile(cache / fs::path(name) / "x.", 1024);
    }
    EXPECT_EQ(Cycle(), Deleted("16KB"));
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(AdversarialTree, AnEmptyCache) {
    EXPECT_EQ(Cycle(), Deleted("0KB"));
    EXPECT_EQ(Totals(), "0/0/0");
    EXPECT_EQ(form.Tx1.Text(), Deleted("0KB") + "\r\n");
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_EQ(Cycle(), kNoCache);
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(AdversarialTree, FiftyThousandFilesInOneFolder) {
    const int fd = open(cache.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < 50000; ++i)
        MakeFileAt(fd, std::to_string(i) + ".jpg", 100);
    close(fd);
    EXPECT_EQ(Cycle(), Deleted("4MB"));
    EXPECT_EQ(Totals(), "0/4/0");
    EXPECT_EQ(form.List1.Items().back(),
              "C:\\Documents and Settings\\alice\\Application Data\\sina\\weibo\\cache 5000000Byte");
    EXPECT_FALSE(fs::exists(cache));
}

// Sparse files of gigabytes: a cache past 2 GiB is told and counted whole, with the carry into gigabytes.
TEST_F(AdversarialTree, ACacheOfGigabytesIsToldAndCountedWhole) {
    MakeFile(cache / "x" / "a.bin", 3ULL << 29);
    MakeFile(cache / "y" / "b.bin", 3ULL << 29);
    MakeFile(cache / "small.jpg", 2048);
    EXPECT_EQ(Cycle(), Deleted("3072MB"));
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(Totals(), "3/0/0");
    EXPECT_FALSE(fs::exists(cache));
}

// Where the cache path of a name that must not be used would lead, a cache is planted: it must survive.
TEST_F(AdversarialTree, UserNamesThatNameNoProfileGiveNoCacheAndDeleteNothing) {
    const fs::path noName = profiles / "Application Data" / "sina" / "weibo" / "cache";
    const std::vector<std::pair<std::optional<std::string>, fs::path>> names = {
        {std::nullopt, noName},
        {"", noName},
        {".", noName},
        {"..\\x", drive.Path() / "x" / "Application Data" / "sina" / "weibo" / "cache"},
        {"e/x", profiles / "e" / "x" / "Application Data" / "sina" / "weibo" / "cache"},
        {"C:", profiles / "C:" / "Application Data" / "sina" / "weibo" / "cache"},
    };
    for (const auto& [name, planted] : names) {
        const std::string shown = name.value_or("(unset)");
        if (name)
            h.system.environment["USERNAME"] = *name;
        else
            h.system.environment.erase("USERNAME");
        h.Load();
        MakeFile(planted / "keep.jpg", 1024);
        EXPECT_EQ(Cycle(), kNoCache) << shown;
        EXPECT_TRUE(fs::exists(planted / "keep.jpg")) << shown;
        EXPECT_EQ(Totals(), "0/0/0") << shown;
    }
    EXPECT_TRUE(fs::exists(cache)) << "alice's cache is not touched either";
}

TEST_F(AdversarialTree, AVeryLongUserNameOfTheUsersOwnProfileIsUsedAsItIs) {
    const std::string name(250, 'u');
    h.system.environment["USERNAME"] = name;
    h.system.ownProfile = "C:\\Documents and Settings\\" + name;
    h.Load();
    MakeFile(profiles / name / "Application Data" / "sina" / "weibo" / "cache" / "a.jpg", 4096);
    EXPECT_EQ(Cycle(), Deleted("4KB"));
    EXPECT_FALSE(fs::exists(profiles / name / "Application Data" / "sina" / "weibo" / "cache"));
    EXPECT_TRUE(fs::exists(cache));
}

}  // namespace
}  // namespace zelmora::testing
