// The Windows provider's walk: which listed entries are links, entries swapped for Unix links under Wine after
// they were listed, files still open elsewhere, and which deletion each system's answer leads to.

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/win32_file_system.h"
#include "engine/win32_folder_listing.h"
#include "fake_file_system.h"
#include "temp_tree.h"
#include "unix_shell.h"
#include "wine_version.h"

namespace zelmora::testing {
namespace {

namespace fs = std::filesystem;

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

// A file held open with delete sharing, as a viewer may hold a picture.
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

// The deletion goes in listing order: once the first folder's file is deleted, a Linux shell swaps the second
// folder for a link.
TEST_F(WineTree, AFolderSwappedForALinkBeforeItsDeletionIsNotEntered) {
    MakeFile(cache / "p" / "a.jpg", 10);
    MakeFile(cache / "q" / "a.jpg", 10);
    const std::vector<std::string> order = fileSystem.GetFolder(dir.Text("cache"))->SubFolders();
    ASSERT_EQ(order.size(), 2u);
    progress.afterFirstDeletion = [&] { RunShell(SwapForLink(order[1])); };

    EXPECT_FALSE(Delete());
    EXPECT_FALSE(fs::exists(cache / order[0]));
    EXPECT_TRUE(fs::exists(cache / order[1] / "keep.txt")) << "the link stays, and what it leads to";
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

// With POSIX semantics a file held open elsewhere goes at once, name and all, and its folder with it. Without them
// its deletion takes effect as the last handle closes; Windows would open it meanwhile as being deleted
// (STATUS_DELETE_PENDING) and count it, Wine 8 opens it as any file, so nothing confirms it and it is not counted.
TEST_F(WineTree, AFileHeldElsewhereGoesAtOnceWithPosixSemanticsElseAsItsLastHandleCloses) {
    MakeFile(cache / "x" / "held.jpg", 10);
    const bool posix = WineDeletesWithPosixSemantics();
    {
        const HeldFile held(cache / "x" / "held.jpg");
        EXPECT_EQ(Delete(), posix);
        EXPECT_EQ(fs::exists(cache / "x" / "held.jpg"), !posix) << "the name is free while the file is held";
    }
    EXPECT_FALSE(fs::exists(cache / "x" / "held.jpg"));
    EXPECT_EQ(fs::is_directory(cache / "x"), !posix);
    EXPECT_EQ(progress.deleted, posix ? std::vector<int64_t>{10} : std::vector<int64_t>{});
}

// Stands in for a system that refuses FileDispositionInformationEx with one status, and sets all else.
NTSTATUS refusal = 0;
int refused = 0;
NTSTATUS NTAPI RefusingPosixDeletion(HANDLE file, PIO_STATUS_BLOCK io, PVOID information, ULONG length,
                                     FILE_INFORMATION_CLASS informationClass) {
    if (informationClass == nt::InformationClass(64)) {
        ++refused;
        return refusal;
    }
    return NtSetInformationFile(file, io, information, length, informationClass);
}

TEST(DeletionPath, ASystemWithoutPosixDeletionGetsTheFallbackAndAnEntryRefusedDeletionStays) {
    struct Refusal {
        const char* status;
        uint32_t value;
        bool fallback;
    };
    const Refusal refusals[] = {
        {"NOT_IMPLEMENTED (Wine 8)", 0xC0000002, true},
        {"INVALID_INFO_CLASS (Windows 10 before 1709)", 0xC0000003, true},
        {"INVALID_PARAMETER (flags a system lacks)", 0xC000000D, true},
        {"INVALID_DEVICE_REQUEST", 0xC0000010, true},
        {"NOT_SUPPORTED (FAT, network shares)", 0xC00000BB, true},
        {"ACCESS_DENIED", 0xC0000022, false},
        {"CANNOT_DELETE (read-only)", 0xC0000121, false},
    };
    for (const Refusal& answer : refusals) {
        TempDir dir;
        MakeFile(dir.Path() / "cache" / "a.jpg", 10);
        MakeFile(dir.Path() / "cache" / "sub" / "b.jpg", 20);
        refusal = static_cast<NTSTATUS>(answer.value);
        refused = 0;
        Win32FileSystem fileSystem(RefusingPosixDeletion);
        RecordingProgress progress;

        const Deletion done = fileSystem.DeleteFolder(dir.Text("cache"), progress);
        EXPECT_EQ(done.folderGone, answer.fallback) << answer.status;
        EXPECT_EQ(progress.Freed(), answer.fallback ? 30 : 0) << answer.status;
        EXPECT_EQ(refused, answer.fallback ? 1 : 2) << answer.status << ": asked once for the tree, else per file";
        EXPECT_EQ(fs::exists(dir.Path() / "cache" / "sub" / "b.jpg"), !answer.fallback) << answer.status;
    }
}

}  // namespace
}  // namespace zelmora::testing
