// Hostile cache trees, hand-edited settings and odd user names, against the real program under Wine.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/number_text.h"
#include "base/win32_text.h"
#include "wine_version.h"
#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

using namespace std::chrono_literals;

const char* kInUse = " 可能图片正在使用，请关闭 微博桌面 的 【图片查看】窗口";
const char* kNoCache = " 新浪微博缓存路径不存在！";
const std::string kOutside = "C:\\zelmora-e2e-outside";

bool Exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void MakeFile(const std::string& path, const std::string& contents) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    WriteFile(path, contents);
}

// A folder outside every cache with files that must survive.
struct Canary {
    explicit Canary(std::string path) : folder(std::move(path)) {
        MakeFile(folder + "\\keep.txt", std::string(4096, 'k'));
        MakeFile(folder + "\\sub\\more.txt", std::string(100, 'm'));
    }
    bool Intact() const { return SizeOf(folder + "\\keep.txt") == 4096 && SizeOf(folder + "\\sub\\more.txt") == 100; }
    std::string folder;
};

// A picture the client's viewer holds open (without delete sharing) stays, and nothing else does. Only what went
// is counted: while the picture is held, further cycles count nothing; once it is closed, it goes and counts.
TEST(CacheTrees, APictureHeldOpenStaysUncountedWhileEverythingElseIsCleaned) {
    Zelmora app("held-open", kQuietSettings);
    const Canary beside(ParentOf(app.CacheFolder()) + "\\beside");
    app.MakeCacheFile("a\\1.jpg", 1024 * 1024);
    app.MakeCacheFile("viewer.jpg", 2 * 1024 * 1024);
    app.MakeCacheFile("z\\2.jpg", 1024 * 1024);
    const std::string viewer = app.CacheFolder() + "\\viewer.jpg";
    const HANDLE held = CreateFileW(Widen(viewer).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    app.Start();

    EXPECT_TRUE(app.RunCycle().ends_with(kInUse)) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB"), "2") << "4 MB measured, the 2 MB held open stayed";
    EXPECT_EQ(app.Text("Tx1"), "");
    EXPECT_EQ(SizeOf(viewer), 2u * 1024 * 1024);
    EXPECT_FALSE(Exists(app.CacheFolder() + "\\a"));
    EXPECT_FALSE(Exists(app.CacheFolder() + "\\z"));
    EXPECT_TRUE(app.RunCycle().ends_with(kInUse)) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB") + "/" + app.Text("TKB"), "2/0");

    CloseHandle(held);
    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 2MB 空间.")) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB"), "4");
    EXPECT_FALSE(app.CacheExists());
    EXPECT_TRUE(beside.Intact());
    EXPECT_FALSE(ShowsABox(app));
}

// A picture held with delete sharing, as an indexer or a thumbnailer holds one. Where the system deletes with POSIX
// semantics (Windows 10 and 11, Wine 10) it goes at once, its name free while it is still held, and counts. Wine 8
// deletes it as its last handle closes: nothing confirms it meanwhile, so its folder stays and it does not count.
TEST(CacheTrees, APictureHeldWithDeleteSharingGoesAtOnceWhereTheSystemDeletesWithPosixSemantics) {
    Zelmora app("held-sharing", kQuietSettings);
    app.MakeCacheFile("a\\1.jpg", 1024 * 1024);
    app.MakeCacheFile("thumb.jpg", 2 * 1024 * 1024);
    const std::string thumb = app.CacheFolder() + "\\thumb.jpg";
    const HANDLE held =
        CreateFileW(Widen(thumb).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    app.Start();

    const std::string report = app.RunCycle();
    if (testing::WineDeletesWithPosixSemantics()) {
        EXPECT_TRUE(report.ends_with(" 删除成功!已释放 3MB 空间.")) << report;
        EXPECT_EQ(app.Text("TMB"), "3");
        EXPECT_FALSE(app.CacheExists());
    } else {
        EXPECT_TRUE(report.ends_with(kInUse)) << report;
        EXPECT_EQ(app.Text("TMB"), "1");
        EXPECT_TRUE(Exists(thumb));
    }
    CloseHandle(held);
    EXPECT_FALSE(Exists(thumb));
    EXPECT_FALSE(ShowsABox(app));
}

TEST(CacheTrees, AReadOnlyFileDeepInsideStaysWithItsFoldersAndTheRestIsCleaned) {
    Zelmora app("read-only", kQuietSettings);
    const Canary beside(ParentOf(app.CacheFolder()) + "\\beside");
    app.MakeCacheFile("a\\b\\c\\d\\locked.jpg", 3 * 1024 * 1024);
    app.MakeCacheFile("a\\b\\other.jpg", 1024 * 1024);
    app.MakeCacheFile("z.jpg", 512 * 1024);
    const std::string locked = app.CacheFolder() + "\\a\\b\\c\\d\\locked.jpg";
    ASSERT_TRUE(SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_READONLY));
    app.Start();

    EXPECT_TRUE(app.RunCycle().ends_with(kInUse)) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB") + "/" + app.Text("TKB"), "1/0") << "4.5 MB measured, 3 MB left: 1.5 MB freed";
    EXPECT_EQ(SizeOf(locked), 3u * 1024 * 1024);
    EXPECT_FALSE(Exists(app.CacheFolder() + "\\a\\b\\other.jpg"));
    EXPECT_FALSE(Exists(app.CacheFolder() + "\\z.jpg"));
    EXPECT_TRUE(beside.Intact());
    EXPECT_FALSE(ShowsABox(app));
    SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CacheTrees, DeepNestingLongPathsAndOddNamesAreCleaned) {
    Zelmora app("deep", kQuietSettings);
    const Canary beside(ParentOf(app.CacheFolder()) + "\\beside");
    std::string deep;
    for (int level = 0; level < 60; ++level)
        deep += "level-" + std::to_string(level) + "\\";
    ASSERT_GT((app.CacheFolder() + "\\" + deep).size(), 400u);
    app.MakeCacheFile(deep + "f.jpg", 100 * 1024);
    app.MakeCacheFile("图片 [1]{x};'$\\缓存 文件.jpg", 200 * 1024);
    app.MakeCacheFile("微博\\头像.gif", 300 * 1024);
    ASSERT_TRUE(Exists(app.CacheFolder() + "\\" + deep + "f.jpg"));
    // Names Win32 cannot make: trailing dots and spaces.
    const std::string cache = UnixPath(app.CacheFolder());
    RunShell("mkdir " + cache + "/'dots..' " + cache + "/'space ' && head -c 4096 /dev/zero > " + cache +
             "/'dots..'/'x.' && head -c 4096 /dev/zero > " + cache + "/'space '/'y '");
    app.Start();

    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 608KB 空间.")) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TKB"), "608");
    EXPECT_FALSE(app.CacheExists());
    EXPECT_TRUE(beside.Intact());
}

// A deep tree, as deep as Wine can still delete (it deletes through Unix paths, which stop at 4,096 bytes): the
// program stays up and cleans it all. Twelve thousand levels, past where Wine can delete, are make stress's.
TEST(CacheTrees, ADeepTreeIsCleanedAndTheProgramStaysUp) {
    Zelmora app("deep-tree", kQuietSettings);
    app.MakeCacheFile("top.jpg", 64 * 1024);
    RunShell(
        "perl -e 'chdir shift or die; for (1 .. 400) { mkdir q(d) or die; chdir q(d) or die } "
        "open(F, q(>), q(bottom.jpg)) or die; print F chr(0) x 1024' " +
        UnixPath(app.CacheFolder()));
    app.Start();
    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 65KB 空间.")) << app.Text("Lb1");
    EXPECT_TRUE(app.Running());
    EXPECT_FALSE(app.CacheExists());
    EXPECT_FALSE(ShowsABox(app));
}

// Wine lists a Linux link to a folder as a reparse point, yet opens it as its target and cannot delete it.
// A link to a file it shows as a plain file and deleting that deletes the target, so none is made here.
TEST(CacheTrees, FolderLinksAndLoopsAreSkippedAndNothingOutsideIsTouched) {
    const std::string cache = Zelmora::CacheFolder();
    const std::string outside = kOutside + "\\links";
    RunShell("rm -rf " + UnixPath(outside));

    Zelmora app("links", kQuietSettings);
    const Canary target(outside);
    app.MakeCacheFile("a.jpg", 1024 * 1024);
    app.MakeCacheFile("x\\b.jpg", 1024 * 1024);
    RunShell("ln -s " + UnixPath(outside) + " " + UnixPath(cache + "\\out") + "; ln -s ../.. " +
             UnixPath(cache + "\\x\\up") + "; ln -s " + UnixPath(outside + "\\nowhere") + " " +
             UnixPath(cache + "\\dangling"));
    ASSERT_TRUE(Exists(cache + "\\out\\keep.txt"));
    app.Start();

    EXPECT_TRUE(app.RunCycle().ends_with(kInUse)) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TMB"), "2") << "links are not counted";
    EXPECT_TRUE(target.Intact());
    EXPECT_TRUE(Exists(cache + "\\out")) << "a folder link cannot be deleted under Wine";
    EXPECT_FALSE(ShowsABox(app));
    RunShell("rm -rf " + UnixPath(cache) + " " + UnixPath(outside));
}

// C:\\Documents and Settings\\<name> may be another account's profile (a local and a domain account of one name,
// an orphaned profile): its cache and Startup folder are never touched, and the user's own are used.
TEST(CacheTrees, AnotherAccountsProfileOfTheUsersNameIsLeftAlone) {
    const std::string other = "C:\\Documents and Settings\\e2e-other";
    RunShell("rm -rf " + UnixPath(other));
    const Canary otherCache(other + "\\Application Data\\sina\\weibo\\cache");
    const std::string otherStartup = other + "\\「开始」菜单\\程序\\启动";
    MakeFolders(otherStartup);
    const std::string ownShortcut = StartupFolder() + "\\Zelmora.lnk";
    DeleteFileW(Widen(ownShortcut).c_str());
    Zelmora app("other-profile", "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=1\r\n", "e2e-other");
    app.MakeCacheFile("own.jpg", 5 * 1024);
    app.Start();

    EXPECT_TRUE(Zelmora::WaitFor([&] { return Exists(ownShortcut); }, 10s)) << "written at start";
    EXPECT_TRUE(app.RunCycle().ends_with(" 删除成功!已释放 5KB 空间.")) << app.Text("Lb1");
    EXPECT_FALSE(app.CacheExists());
    EXPECT_TRUE(otherCache.Intact());
    EXPECT_FALSE(Exists(otherStartup + "\\Zelmora.lnk"));
    app.Close();
    app.WaitForExit();
    DeleteFileW(Widen(ownShortcut).c_str());
    RunShell("rm -rf " + UnixPath(other));
}

// What the window shows after start-up.
struct Shown {
    int del;
    int aLoad;
    std::string tDel;
    std::string lTime;
    std::string tGB;
    std::string tMB;
    std::string tKB;
};

struct HandEdited {
    const char* name;
    std::string ini;
    Shown shown;
};

std::string AllKeys(const std::string& value) {
    return "[Auto]\r\nDel=" + value + "\r\nTime=" + value + "\r\nALoad=" + value + "\r\n[Cls]\r\nTGB=" + value +
           "\r\nTMB=" + value + "\r\nTKB=" + value + "\r\n";
}

std::string Utf16(const std::string& text) {
    const std::wstring wide = Widen(text);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string Binary() {
    std::string bytes;
    for (uint32_t x = 12345; bytes.size() < 600;) {
        x = x * 1103515245 + 12345;
        bytes += static_cast<char>(x >> 24);
    }
    return "\x01" + bytes;  // no byte-order mark
}

const std::string kLong = "7" + std::string(299, 'x');
const std::string kLongRead = kLong.substr(0, 255);

class HandEditedSettings : public ::testing::TestWithParam<HandEdited> {};

// The program starts with the values it can make of the file, shows no box, and stores what it shows.
TEST_P(HandEditedSettings, StartShowAndStore) {
    const HandEdited& edited = GetParam();
    Zelmora app(std::string("settings-") + edited.name, edited.ini);
    app.Start();
    const Shown& shown = edited.shown;
    EXPECT_EQ(app.Check("CDel"), shown.del);
    EXPECT_EQ(app.Check("CLoad"), shown.aLoad);
    EXPECT_EQ(app.Text("TDel"), shown.tDel);
    EXPECT_EQ(app.Text("LTime"), shown.lTime);
    EXPECT_EQ(app.Text("TGB"), shown.tGB);
    EXPECT_EQ(app.Text("TMB"), shown.tMB);
    EXPECT_EQ(app.Text("TKB"), shown.tKB);
    EXPECT_FALSE(ShowsABox(app));
    app.Close();
    app.WaitForExit();

    const std::string ini = app.ConfigIni();
    EXPECT_EQ(Setting(ini, "Auto", "Del"), std::to_string(shown.del));
    EXPECT_EQ(Setting(ini, "Auto", "Time"), DecimalText(NumericValue(shown.tDel)));
    EXPECT_EQ(Setting(ini, "Auto", "ALoad"), std::to_string(shown.aLoad));
    EXPECT_EQ(Setting(ini, "Cls", "TGB"), shown.tGB);
    EXPECT_EQ(Setting(ini, "Cls", "TMB"), shown.tMB);
    EXPECT_EQ(Setting(ini, "Cls", "TKB"), shown.tKB);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HandEditedSettings,
    ::testing::Values(
        HandEdited{"missing", "[Other]\r\nkey=1\r\n", {0, 1, "1", "60", "0", "0", "0"}},
        HandEdited{"empty", AllKeys(""), {0, 0, "", "LTime", "", "", ""}},
        HandEdited{"long", AllKeys(kLong), {0, 0, kLongRead, "420", kLongRead, kLongRead, kLongRead}},
        HandEdited{"text", AllKeys("abc"), {0, 0, "abc", "LTime", "abc", "abc", "abc"}},
        HandEdited{"negative", AllKeys("-7"), {0, 0, "-7", "LTime", "-7", "-7", "-7"}},
        HandEdited{"chinese", AllKeys(ToAnsi("一百")), {0, 0, "一百", "LTime", "一百", "一百", "一百"}},
        HandEdited{"duplicated-and-misplaced",
                   "[Cls]\r\nDel=2\r\nTime=9\r\n[Auto]\r\nDel=1\r\nDel=0\r\nTime=3\r\nTime=4\r\nALoad=0\r\nTKB=5\r\n"
                   "[Cls]\r\nTGB=2\r\n[Auto]\r\nALoad=1\r\n",
                   {1, 0, "3", "180", "0", "0", "0"}},
        HandEdited{"utf8-bom",
                   "\xEF\xBB\xBF[Auto]\r\nDel=1\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=1\r\nTMB=2\r\nTKB=3\r\n",
                   {1, 0, "5", "300", "1", "2", "3"}},
        HandEdited{"utf16",
                   Utf16("[Auto]\r\nDel=1\r\nTime=6\r\nALoad=0\r\n[Cls]\r\nTGB=4\r\nTMB=5\r\nTKB=一百\r\n"),
                   {1, 0, "6", "360", "4", "5", "一百"}},
        HandEdited{"binary", Binary(), {0, 1, "1", "60", "0", "0", "0"}}),
    [](const ::testing::TestParamInfo<HandEdited>& test) {
        std::string name = test.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(Settings, TotalsOf1e308AreCarriedAndStored) {
    Zelmora app("settings-1e308", AllKeys("1e308"));
    app.Start();
    EXPECT_EQ(app.Check("CDel"), 0);
    EXPECT_EQ(app.Text("TDel"), "1e308");
    EXPECT_EQ(app.Text("LTime"), "LTime") << "an interval past the largest number never reloads the countdown";
    EXPECT_EQ(app.Text("TKB") + app.Text("TMB"), "00");
    const double gigabytes = NumericValue(app.Text("TGB"));
    EXPECT_GT(gigabytes, 1e308);
    EXPECT_TRUE(std::isfinite(gigabytes)) << app.Text("TGB");
    const std::string shownGB = app.Text("TGB");
    EXPECT_FALSE(ShowsABox(app));
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Time"), "1E+308");
    EXPECT_EQ(Setting(app.ConfigIni(), "Cls", "TGB"), shownGB);
}

TEST(Settings, AProgramFolderNamedOutsideTheCodePageKeepsItsSettingsThere) {
    Zelmora app("settings-程序😀", "[Auto]\r\nDel=0\r\nTime=5\r\nALoad=0\r\n");
    app.Start();
    EXPECT_EQ(app.Text("TDel"), "5");
    app.Type("TDel", "9");
    app.Close();
    app.WaitForExit();
    EXPECT_EQ(Setting(app.ConfigIni(), "Auto", "Time"), "9");
}

TEST(Settings, AFolderNamedConfigIniGivesTheDefaultsAndStays) {
    Zelmora app("settings-folder");
    ASSERT_TRUE(CreateDirectoryW(Widen(app.ConfigIni()).c_str(), nullptr));
    app.Start();
    EXPECT_EQ(app.Check("CLoad"), 1);
    EXPECT_EQ(app.Text("TDel"), "1");
    EXPECT_EQ(app.Text("LTime"), "60");
    EXPECT_EQ(app.Text("TGB") + app.Text("TMB") + app.Text("TKB"), "000");
    EXPECT_FALSE(ShowsABox(app));
    app.Close();
    app.WaitForExit();
    EXPECT_TRUE(GetFileAttributesW(Widen(app.ConfigIni()).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

struct OddUser {
    const char* name;
    std::optional<std::string> userName;
    std::string reachable;  // where the cache path would lead if the name were used, planted with a file
};

class OddUserNames : public ::testing::TestWithParam<OddUser> {};

// A user name that is missing or could step out of the profile folder gives no cache path at all.
TEST_P(OddUserNames, TheCycleFindsNoCacheAndDeletesNothing) {
    const OddUser& user = GetParam();
    Zelmora app(std::string("user-") + user.name, kQuietSettings, user.userName);
    const std::string planted = user.reachable + "\\Application Data\\sina\\weibo\\cache\\keep.jpg";
    if (!user.reachable.empty())
        MakeFile(planted, std::string(1024, 'p'));
    app.Start();
    EXPECT_TRUE(app.RunCycle().ends_with(kNoCache)) << app.Text("Lb1");
    EXPECT_EQ(app.Text("TKB"), "0");
    if (!user.reachable.empty()) {
        EXPECT_EQ(SizeOf(planted), 1024u);
    }
    EXPECT_FALSE(ShowsABox(app));
}

INSTANTIATE_TEST_SUITE_P(UserNames, OddUserNames,
                         ::testing::Values(OddUser{"unset", std::nullopt, "C:\\Documents and Settings"},
                                           OddUser{"empty", "", "C:\\Documents and Settings"},
                                           OddUser{"dot", ".", "C:\\Documents and Settings"},
                                           OddUser{"parent", "..\\..\\zelmora-e2e-outside\\user", kOutside + "\\user"},
                                           OddUser{"slash", "e2e/slash", "C:\\Documents and Settings\\e2e\\slash"},
                                           OddUser{"colon", "C:", ""}),
                         [](const ::testing::TestParamInfo<OddUser>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace zelmora::e2e
