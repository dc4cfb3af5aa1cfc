#include <gtest/gtest.h>

#include <fstream>

#include "settings/ini_file_store.h"
#include "test_support.h"
#ifdef _WIN32
#include "settings/win32_profile_store.h"
#endif

namespace zelmora::testing {
namespace {

void Put(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every store must meet the same requirements.
template <typename Store>
struct StoreTest : ::testing::Test {
    Store store;
    TempDir dir;
    std::filesystem::path file = dir.Path() / "Config.ini";
    std::string path = dir.Text("Config.ini");
};

#ifdef _WIN32
using Stores = ::testing::Types<IniFileStore, Win32ProfileStore>;
#else
using Stores = ::testing::Types<IniFileStore>;
#endif
TYPED_TEST_SUITE(StoreTest, Stores);

TYPED_TEST(StoreTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", this->path), "1");
    Put(this->file, "[Auto]\r\nDel=1\r\n");
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", this->path), "1");
    EXPECT_EQ(this->store.Read("Cls", "TKB", "0", this->path), "0");
    EXPECT_EQ(this->store.Read("Auto", "Del", "10", this->path), "1");
}

TYPED_TEST(StoreTest, AnEmptyValueReadsAsEmpty) {
    Put(this->file, "[Cls]\r\nTKB=\r\n");
    EXPECT_EQ(this->store.Read("Cls", "TKB", "0", this->path), "");
}

TYPED_TEST(StoreTest, LongValuesAreCutTo255Bytes) {
    const std::string value(300, 'v');
    this->store.Write("Auto", "Time", value, this->path);
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", this->path), value.substr(0, 255));
}

TYPED_TEST(StoreTest, TheFirstWriteCreatesTheFileInOrder) {
    this->store.Write("Auto", "Del", "1", this->path);
    this->store.Write("Auto", "Time", "15", this->path);
    this->store.Write("Auto", "ALoad", "0", this->path);
    this->store.Write("Cls", "TGB", "0", this->path);
    EXPECT_EQ(Contents(this->file), "[Auto]\r\nDel=1\r\nTime=15\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\n");
    this->store.Write("Auto", "Time", "30", this->path);
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", this->path), "30");
    EXPECT_EQ(Contents(this->file), "[Auto]\r\nDel=1\r\nTime=30\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\n");
}

TYPED_TEST(StoreTest, NamesMatchWithoutRegardToCase) {
    Put(this->file, "[auto]\r\ntime=7\r\n");
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", this->path), "7");
    this->store.Write("AUTO", "TIME", "8", this->path);
    EXPECT_EQ(Contents(this->file), "[auto]\r\ntime=8\r\n");
}

TYPED_TEST(StoreTest, ReadingTrimsBlanksAndOuterQuotes) {
    Put(this->file, "[Auto]\r\n  Time  =  12 \r\nDel=\"1\"\r\nALoad='x\"\r\n");
    EXPECT_EQ(this->store.Read("Auto", "Time", "", this->path), "12");
    EXPECT_EQ(this->store.Read("Auto", "Del", "", this->path), "1");
    EXPECT_EQ(this->store.Read("Auto", "ALoad", "", this->path), "'x\"");
}

TYPED_TEST(StoreTest, TheFirstOfDuplicatesWinsAndCommentsAreKept) {
    Put(this->file, "; settings\r\n[Auto]\r\nTime=1\r\nTime=2\r\n;Del=5\r\n[Auto]\r\nDel=3\r\n");
    EXPECT_EQ(this->store.Read("Auto", "Time", "", this->path), "1");
    EXPECT_EQ(this->store.Read("Auto", "Del", "none", this->path), "none");
    this->store.Write("Auto", "Time", "9", this->path);
    const std::string text = Contents(this->file);
    EXPECT_NE(text.find("; settings"), std::string::npos);
    EXPECT_NE(text.find("Time=9\r\nTime=2"), std::string::npos) << text;
}

TYPED_TEST(StoreTest, NewKeysGoAfterTheSectionsLastKey) {
    Put(this->file, "[Auto]\r\nDel=1\r\n\r\n[Cls]\r\nTGB=2\r\n");
    this->store.Write("Auto", "Time", "5", this->path);
    this->store.Write("Other", "k", "v", this->path);
    EXPECT_EQ(this->store.Read("Auto", "Time", "", this->path), "5");
    EXPECT_EQ(this->store.Read("Cls", "TGB", "", this->path), "2");
    EXPECT_EQ(this->store.Read("Other", "k", "", this->path), "v");
    const std::string text = Contents(this->file);
    EXPECT_EQ(text.find("[Auto]\r\nDel=1\r\nTime=5\r\n"), 0u) << text;
}

TYPED_TEST(StoreTest, ChineseTextRoundTrips) {
    this->store.Write("Cls", "TGB", "一百", this->path);
    EXPECT_EQ(this->store.Read("Cls", "TGB", "", this->path), "一百");
}

// A folder name outside the ANSI code page: the settings are still read and written there.
TYPED_TEST(StoreTest, AnyFolderNameServes) {
    const std::filesystem::path folder = this->dir.Path() / std::filesystem::path(u8"程序 😀");
    std::filesystem::create_directory(folder);
    const std::string oddPath = this->dir.Text("程序 😀/Config.ini");
    EXPECT_TRUE(this->store.Write("Auto", "Time", "15", oddPath));
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", oddPath), "15");
    EXPECT_TRUE(std::filesystem::exists(folder / "Config.ini"));
}

TYPED_TEST(StoreTest, CanWriteLeavesAMissingFileMissing) {
    EXPECT_TRUE(this->store.CanWrite(this->path));
    EXPECT_FALSE(std::filesystem::exists(this->file));
    Put(this->file, "[Auto]\r\n");
    EXPECT_TRUE(this->store.CanWrite(this->path));
    EXPECT_FALSE(this->store.CanWrite(this->dir.Text("no such folder/Config.ini")));
}

TYPED_TEST(StoreTest, StartFromCopiesOnlyWhereTheFileIsMissing) {
    namespace fs = std::filesystem;
    Put(this->file, "[Auto]\r\nTime=7\r\n");
    fs::permissions(this->file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string copy = this->dir.Text("user/Zelmora/Config.ini");
    this->store.StartFrom(this->path, copy);
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", copy), "7");
    EXPECT_NE(fs::status(this->dir.Path() / "user" / "Zelmora" / "Config.ini").permissions() & fs::perms::owner_write,
              fs::perms::none)
        << "the copy of a read-only file can be written";
    this->store.Write("Auto", "Time", "8", copy);
    this->store.StartFrom(this->path, copy);
    EXPECT_EQ(this->store.Read("Auto", "Time", "1", copy), "8");
    const std::string fresh = this->dir.Text("other/Zelmora/Config.ini");
    this->store.StartFrom(this->dir.Text("missing.ini"), fresh);
    EXPECT_TRUE(std::filesystem::is_directory(this->dir.Path() / "other" / "Zelmora"));
    EXPECT_FALSE(std::filesystem::exists(this->dir.Path() / "other" / "Zelmora" / "Config.ini"));
    fs::permissions(this->file, fs::perms::owner_write, fs::perm_options::add);
}

// Wine, run as root, writes a read-only file through the profile API, so only the portable store is held to it.
using IniFileStoreTest = StoreTest<IniFileStore>;
TEST_F(IniFileStoreTest, AnUnwritableFileKeepsWhatItHolds) {
    Put(this->file, "[Auto]\r\nDel=1\r\n");
    std::filesystem::permissions(this->file,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    this->store.Write("Auto", "Del", "0", this->path);
    EXPECT_EQ(this->store.Read("Auto", "Del", "", this->path), "1");
    std::filesystem::permissions(this->file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST(ReadWriteIni, ModeWordsAreComparedExactly) {
    Harness h;
    h.form.IniPath = "C:\\Zelmora\\Config.ini";
    h.settings.values["Auto/Time"] = "15";
    EXPECT_EQ(h.form.ReadWriteIni("Auto", "Time", "1", "Read"), "15");
    EXPECT_EQ(h.form.ReadWriteIni("Auto", "Time", "1", "read"), "");
    EXPECT_EQ(h.form.ReadWriteIni("Auto", "Time", "9", "WRITE"), "");
    EXPECT_EQ(h.form.ReadWriteIni("Auto", "Time", "9", "Write"), "");
    EXPECT_EQ(h.settings.writes, std::vector<std::string>{"Auto/Time=9"});
}

}  // namespace
}  // namespace zelmora::testing
