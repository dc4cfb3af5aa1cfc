// The settings file through the Windows profile API, as the program keeps it.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <thread>

#include "base/win32_text.h"

#include "settings/win32_profile_store.h"
#include "temp_tree.h"

namespace zelmora::testing {
namespace {

void Put(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct StoreTest : ::testing::Test {
    Win32ProfileStore store;
    TempDir dir;
    std::filesystem::path file = dir.Path() / "Config.ini";
    std::string path = dir.Text("Config.ini");

    bool Write(const std::string& section, const std::string& key, const std::string& value,
               const std::string& where = {}) {
        return store.Save({{section, key, value}}, where.empty() ? path : where);
    }
};

TEST_F(StoreTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(store.Read("Auto", "Time", "1", path), "1");
    Put(file, "[Auto]\r\nDel=1\r\n");
    EXPECT_EQ(store.Read("Auto", "Time", "1", path), "1");
    EXPECT_EQ(store.Read("Cls", "TKB", "0", path), "0");
    EXPECT_EQ(store.Read("Auto", "Del", "10", path), "1");
}

TEST_F(StoreTest, AnEmptyValueReadsAsEmpty) {
    Put(file, "[Cls]\r\nTKB=\r\n");
    EXPECT_EQ(store.Read("Cls", "TKB", "0", path), "");
}

TEST_F(StoreTest, LongValuesAreCutTo255Bytes) {
    const std::string value(300, 'v');
    Write("Auto", "Time", value);
    EXPECT_EQ(store.Read("Auto", "Time", "1", path), value.substr(0, 255));
}

TEST_F(StoreTest, TheFirstWriteCreatesTheFileInOrder) {
    Write("Auto", "Del", "1");
    Write("Auto", "Time", "15");
    Write("Auto", "ALoad", "0");
    Write("Cls", "TGB", "0");
    EXPECT_EQ(Contents(file), "[Auto]\r\nDel=1\r\nTime=15\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\n");
    Write("Auto", "Time", "30");
    EXPECT_EQ(store.Read("Auto", "Time", "1", path), "30");
    EXPECT_EQ(Contents(file), "[Auto]\r\nDel=1\r\nTime=30\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\n");
}

TEST_F(StoreTest, NamesMatchWithoutRegardToCase) {
    Put(file, "[auto]\r\ntime=7\r\n");
    EXPECT_EQ(store.Read("Auto", "Time", "1", path), "7");
    Write("AUTO", "TIME", "8");
    EXPECT_EQ(Contents(file), "[auto]\r\ntime=8\r\n");
}

TEST_F(StoreTest, ReadingTrimsBlanksAndOuterQuotes) {
    Put(file, "[Auto]\r\n  Time  =  12 \r\nDel=\"1\"\r\nALoad='x\"\r\n");
    EXPECT_EQ(store.Read("Auto", "Time", "", path), "12");
    EXPECT_EQ(store.Read("Auto", "Del", "", path), "1");
    EXPECT_EQ(store.Read("Auto", "ALoad", "", path), "'x\"");
}

TEST_F(StoreTest, TheFirstOfDuplicatesWinsAndCommentsAreKept) {
    Put(file, "; settings\r\n[Auto]\r\nTime=1\r\nTime=2\r\n;Del=5\r\n[Auto]\r\nDel=3\r\n");
    EXPECT_EQ(store.Read("Auto", "Time", "", path), "1");
    EXPECT_EQ(store.Read("Auto", "Del", "none", path), "none");
    Write("Auto", "Time", "9");
    const std::string text = Contents(file);
    EXPECT_NE(text.find("; settings"), std::string::npos);
    EXPECT_NE(text.find("Time=9\r\nTime=2"), std::string::npos) << text;
}

TEST_F(StoreTest, NewKeysGoAfterTheSectionsLastKey) {
    Put(file, "[Auto]\r\nDel=1\r\n\r\n[Cls]\r\nTGB=2\r\n");
    Write("Auto", "Time", "5");
    Write("Other", "k", "v");
    EXPECT_EQ(store.Read("Auto", "Time", "", path), "5");
    EXPECT_EQ(store.Read("Cls", "TGB", "", path), "2");
    EXPECT_EQ(store.Read("Other", "k", "", path), "v");
    const std::string text = Contents(file);
    EXPECT_EQ(text.find("[Auto]\r\nDel=1\r\nTime=5\r\n"), 0u) << text;
}

TEST_F(StoreTest, ChineseTextRoundTrips) {
    Write("Cls", "TGB", "一百");
    EXPECT_EQ(store.Read("Cls", "TGB", "", path), "一百");
}

// A folder name outside the ANSI code page: the settings are still read and written there.
TEST_F(StoreTest, AnyFolderNameServes) {
    const std::filesystem::path folder = dir.Path() / std::filesystem::path(u8"程序 😀");
    std::filesystem::create_directory(folder);
    const std::string oddPath = dir.Text("程序 😀/Config.ini");
    EXPECT_TRUE(Write("Auto", "Time", "15", oddPath));
    EXPECT_EQ(store.Read("Auto", "Time", "1", oddPath), "15");
    EXPECT_TRUE(std::filesystem::exists(folder / "Config.ini"));
}

TEST_F(StoreTest, CanWriteLeavesAMissingFileMissing) {
    EXPECT_TRUE(store.CanWrite(path));
    EXPECT_FALSE(std::filesystem::exists(file));
    Put(file, "[Auto]\r\n");
    EXPECT_TRUE(store.CanWrite(path));
    EXPECT_FALSE(store.CanWrite(dir.Text("no such folder/Config.ini")));
}

TEST_F(StoreTest, StartFromCopiesOnlyWhereTheFileIsMissing) {
    namespace fs = std::filesystem;
    Put(file, "[Auto]\r\nTime=7\r\n");
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string copy = dir.Text("user/Zelmora/Config.ini");
    store.StartFrom(path, copy);
    EXPECT_EQ(store.Read("Auto", "Time", "1", copy), "7");
    EXPECT_NE(fs::status(dir.Path() / "user" / "Zelmora" / "Config.ini").permissions() & fs::perms::owner_write,
              fs::perms::none)
        << "the copy of a read-only file can be written";
    Write("Auto", "Time", "8", copy);
    store.StartFrom(path, copy);
    EXPECT_EQ(store.Read("Auto", "Time", "1", copy), "8");
    const std::string fresh = dir.Text("other/Zelmora/Config.ini");
    store.StartFrom(dir.Text("missing.ini"), fresh);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "other" / "Zelmora"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "other" / "Zelmora" / "Config.ini"));
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

// Another program holding the file (an editor, a backup, an antivirus scan) does not make it unwritable.
TEST_F(StoreTest, AFileHeldByAnotherProgramStaysWritable) {
    Put(file, "[Auto]\r\n");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const HANDLE writer = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer == INVALID_HANDLE_VALUE ? GetLastError() : 0, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(store.CanWrite(path));
    CloseHandle(held);
}

// A save writes the bytes the profile API writes in place: the file's encoding, its order and line endings, and the
// user's own lines.
TEST_F(StoreTest, ASaveLeavesTheBytesTheProfileApiWould) {
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("[\0A\0u\0t\0o\0]\0\r\0\n\0", 16);
    const std::vector<StoredValue> values = {{"Cls", "TKB", "12"}, {"Auto", "Time", "一百"}, {"Auto", "Del", "1"}};
    for (const std::optional<std::string>& start :
         {std::optional<std::string>(), std::optional<std::string>("; mine\n[Auto]\nTime=5\nOther=x\n"),
          std::optional(utf16)}) {
        const std::filesystem::path direct = dir.Path() / "direct.ini";
        std::filesystem::remove(file);
        std::filesystem::remove(direct);
        if (start) {
            Put(file, *start);
            Put(direct, *start);
        }
        ASSERT_TRUE(store.Save(values, path));
        for (const StoredValue& v : values)
            WritePrivateProfileStringW(Widen(v.section).c_str(), Widen(v.key).c_str(), Widen(v.value).c_str(),
                                       direct.c_str());
        EXPECT_EQ(Contents(file), Contents(direct)) << start.value_or("no file");
    }
}

// A copy left by a save that was cut short is never read, and goes with the next save.
TEST_F(StoreTest, ACopyLeftByAKillIsReplacedAndGoes) {
    Put(file, "[Cls]\r\nTKB=1\r\n");
    Put(dir.Path() / "Config.ini.new", std::string(40, '\0'));
    EXPECT_EQ(store.Read("Cls", "TKB", "0", path), "1");
    EXPECT_TRUE(Write("Cls", "TKB", "2"));
    EXPECT_EQ(Contents(file), "[Cls]\r\nTKB=2\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Config.ini.new"));
}

// Another program holding the file without delete sharing: the save waits for it a moment, and where it holds on,
// fails and leaves the file as it was.
TEST_F(StoreTest, AHeldFileIsWaitedForAMomentThenTheSaveFailsAndLeavesIt) {
    Put(file, "[Cls]\r\nTKB=1\r\n");
    const auto hold = [&] {
        return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    const HANDLE briefly = hold();
    ASSERT_NE(briefly, INVALID_HANDLE_VALUE);
    std::thread letGo([&] {
        Sleep(100);
        CloseHandle(briefly);
    });
    EXPECT_TRUE(Write("Cls", "TKB", "5"));
    letGo.join();
    EXPECT_EQ(Contents(file), "[Cls]\r\nTKB=5\r\n");

    const HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Write("Cls", "TKB", "6"));
    CloseHandle(held);
    EXPECT_EQ(Contents(file), "[Cls]\r\nTKB=5\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Config.ini.new"));
}

// A file that is one of two names of its data is written in place, so both names keep seeing it; a read-only one
// is not written.
TEST_F(StoreTest, AHardLinkedFileKeepsItsLinkAndAReadOnlyOneIsLeft) {
    Put(file, "[Cls]\r\nTKB=1\r\n");
    const std::filesystem::path other = dir.Path() / "shared.ini";
    ASSERT_TRUE(CreateHardLinkW(other.c_str(), file.c_str(), nullptr));
    EXPECT_TRUE(Write("Cls", "TKB", "3"));
    EXPECT_EQ(Contents(other), "[Cls]\r\nTKB=3\r\n");
    std::filesystem::remove(other);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Write("Cls", "TKB", "4"));
    EXPECT_EQ(Contents(file), "[Cls]\r\nTKB=3\r\n");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace zelmora::testing
