// The Windows provider's walk: which listed entries are links, entries swapped for Unix links under Wine after
// they were listed, and folders whose deleted files are still open elsewhere.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/win32_file_system.h"
#include "engine/win32_folder_listing.h"
#include "fake_file_system.h"
#include "temp_tree.h"
#include "unix_shell.h"

namespace zelmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Listed {
    const char* kind;
    DWORD attributes;
    DWORD reparseTag;
    bool link;
    bool folder;
};

TEST(ListedEntry, OnlyNameSurrogateReparsePointsAreLinks) {
    constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
    constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT;
    const Listed cases[] = {
        {"file", FILE_ATTRIBUTE_ARCHIVE, 0, false, false},
        {"folder", kFolder, 0, false, true},
        {"symbolic link to a file", kReparse, IO_REPARSE_TAG_SYMLINK, true, false},
        {"symbolic link to a folder", kFolder | kReparse, IO_REPARSE_TAG_SYMLINK, true, false},
        {"junction", kFolder | kReparse, IO_REPARSE_TAG_MOUNT_POINT, true, false},
        {"Wine's Unix link to a folder", kFolder | kReparse, 0, true, false},
        {"deduplicated file", kReparse, IO_REPARSE_TAG_DEDUP, false, false},
        {"cloud placeholder folder", kFolder | kReparse, IO_REPARSE_TAG_CLOUD, false, true},
    };
    for (const Listed& listed : cases) {
        const ListedEntry entry{L"x", listed.attributes, listed.reparseTag, 0, 1};
        EXPECT_EQ(entry.IsLink(), listed.link) << listed.kind;
        EXPECT_EQ(entry.IsFolder(), listed.folder) << listed.kind;
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// A file held open with delete sharing, as a viewer may hold a picture: deleting it succeeds, yet its name
// stays until this handle closes.
class HeldFile {
public:
    explicit HeldFile(const fs::path& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr)) {}
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { Close(); }
    void Close() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// Under Wine: a cache and a folder outside it in a temporary folder; Linux commands put links in the cache.
struct WineTree : ::testing::Test {
    TempDir dir;
    fs::path cache = dir.Path() / "cache";
    fs::path outside = dir.Path() / "outside";
    Win32FileSystem fileSystem;
    RecordingProgress progress;

    void SetUp() override {
        fs::create_directories(cache);
        MakeFile(outside / "keep.txt", 4096);
        MakeFile(outside / "sub" / "more.txt", 100);
    }
    // Whether everything went, the cache folder included.
    bool Delete() { return fileSystem.DeleteFolder(dir.Text("cache"), progress).folderGone; }
    // Links are removed, never followed.
    void TearDown() override { RunShell("rm -rf " + UnixPath(dir.Text())); }

    bool OutsideIntact() const {
        return fs::exists(outside / "keep.txt") && fs::file_size(outside / "keep.txt") == 4096 &&
               fs::exists(outside / "sub" / "more.txt");
    }
    // Moves a folder of the cache aside and puts a link to the outside folder in its place.
    std::string SwapForLink(const std::string& name) const {
        const std::string entry = UnixPath(dir.Text("cache\\" + name));
        return "mv " + entry + " " + UnixPath(dir.Text("aside")) + " && ln -s " + UnixPath(dir.Text("outside")) + " " +
               entry;
    }
};

TEST_F(WineTree, AFolderSwappedForALinkAfterItWasListedIsNotEntered) {
    MakeFile(cache / "sub" / "a.jpg", 10);
    const std::unique_ptr<Folder> folder = fileSystem.GetFolder(dir.Text("cache"));
    ASSERT_EQ(folder->SubFolders(), std::vector<std::string>{"sub"});
    RunShell(SwapForLink("sub"));
    ASSERT_TRUE(fs::exists(cache / "sub" / "keep.txt")) << "Wine follows the link";
    EXPECT_THROW(folder->OpenSubFolder(0), FileSystemError);
    EXPECT_TRUE(OutsideIntact());
}

// The deletion goes in listing order. The first folder holds a file open elsewhere, so its removal waits until
// that file is closed; meanwhile a Linux shell swaps the second folder for a link.
TEST_F(WineTree, AFolderSwappedForALinkBeforeItsDeletionIsNotEntered) {
    MakeFile(cache / "p" / "a.jpg", 10);
    MakeFile(cache / "q" / "a.jpg", 10);
    const std::vector<std::string> order = fileSystem.GetFolder(dir.Text("cache"))->SubFolders();
    ASSERT_EQ(order.size(), 2u);
    const fs::path first = cache / order[0];
    MakeFile(first / "held.jpg", 10);
    HeldFile held(first / "held.jpg");

    // The shell signals through marker files in the temporary folder.
    const auto marker = [&](const char* name) { return UnixPath(dir.Text(name)); };
    const auto marked = [&](const char* name) { return fs::exists(dir.Path() / name); };
    RunAndWait("/bin/sh -c \"touch " + marker("ready") + "; until [ -e " + marker("go") + " ]; do :; done; " +
               SwapForLink(order[1]) + "; touch " + marker("swapped") + "\"");
    const auto release = [&] {
        MakeFile(dir.Path() / "go", 0);
        WaitUntil([&] { return marked("swapped"); }, 10s);
        held.Close();
    };
    if (!WaitUntil([&] { return marked("ready"); }, 20s)) {
        release();
        FAIL() << "the shell did not start";
    }
    std::thread releaser([&] {
        WaitUntil([&] { return !fs::exists(first / "a.jpg"); }, 10s);  // the walk is in the first folder
        release();
    });

    EXPECT_FALSE(Delete());
    releaser.join();
    EXPECT_TRUE(marked("swapped"));
    EXPECT_FALSE(fs::exists(first)) << "its removal waited until the file was closed";
    EXPECT_TRUE(OutsideIntact());
}

// Wine opens a Unix link as its target: deleting the link would delete an empty target instead.
TEST_F(WineTree, ALinkToAnEmptyOutsideFolderIsNotDeletedThroughItsTarget) {
    const fs::path empty = dir.Path() / "empty";
    fs::create_directory(empty);
    RunShell("ln -s " + UnixPath(dir.Text("empty")) + " " + UnixPath(dir.Text("cache\\link")));
    EXPECT_FALSE(Delete());
    EXPECT_TRUE(fs::is_directory(empty));
}

TEST_F(WineTree, AFileStillOpenElsewhereAfterItsDeletionKeepsItsFolder) {
    MakeFile(cache / "x" / "held.jpg", 10);
    {
        const HeldFile held(cache / "x" / "held.jpg");
        EXPECT_FALSE(Delete());
    }
    EXPECT_TRUE(fs::is_directory(cache / "x"));
    EXPECT_FALSE(fs::exists(cache / "x" / "held.jpg")) << "its deletion took effect as the last handle closed";
    // Windows opens a file being deleted as such (STATUS_DELETE_PENDING), and it counts as gone; Wine opens it as
    // any file, so nothing confirms it, and it is not counted.
    EXPECT_TRUE(progress.deleted.empty());
}

}  // namespace
}  // namespace zelmora::testing
