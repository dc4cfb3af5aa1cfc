#include <gtest/gtest.h>

#include "engine/cache_path.h"
#include "fake_file_system.h"
#include "fake_system.h"

namespace zelmora::testing {
namespace {

const std::string kOwnCache = "C:\\Users\\alice\\AppData\\Roaming\\sina\\weibo\\cache";

// The cache of a program started as the user, whose own profile folder is the one given, with these caches.
std::string CacheOf(const std::string& user, const std::string& ownProfile, const std::vector<std::string>& caches) {
    FakeSystem system;
    system.environment["USERNAME"] = user;
    system.ownProfile = ownProfile;
    std::map<std::string, FakeNode> roots;
    for (const std::string& cache : caches)
        roots[cache];
    FakeFileSystem fso(roots);
    return CachePath(fso, FindUserFolders(system));
}

// The fixed path serves only where it names the user's own profile folder; otherwise the cache is the one under
// the user's own application data, and another account's folder of the user's name is never used.
TEST(CachePath, TheFixedPathInTheUsersOwnProfileElseTheCacheUnderTheUsersApplicationData) {
    const std::string fixedProfile = "C:\\Documents and Settings\\alice";
    const std::string otherProfile = "C:\\Users\\alice.CORP";
    struct Case {
        const char* user;
        std::string ownProfile;
        std::vector<std::string> caches;
        std::string cache;
    };
    for (const Case& c :
         {Case{"alice", fixedProfile, {kAliceCache, kOwnCache}, kAliceCache},
          Case{"alice", fixedProfile, {kOwnCache}, kOwnCache}, Case{"alice", fixedProfile, {}, kAliceCache},
          Case{"alice", otherProfile, {kAliceCache, kOwnCache}, kOwnCache},
          Case{"alice", otherProfile, {kAliceCache}, kOwnCache}, Case{"", fixedProfile, {kAliceCache}, kOwnCache}})
        EXPECT_EQ(CacheOf(c.user, c.ownProfile, c.caches), c.cache) << c.user << " " << c.ownProfile;
}

// Even where the system calls the folder it names the user's own.
TEST(CachePath, AnUnsafeUserNameIsNeverPutIntoAPath) {
    for (const std::string name : {"..", "a\\..\\alice", "x/y", "c:", "..\\..\\Windows"}) {
        const std::string profile = "C:\\Documents and Settings\\" + name;
        EXPECT_EQ(CacheOf(name, profile, {profile + "\\Application Data\\sina\\weibo\\cache"}), kOwnCache) << name;
    }
}

}  // namespace
}  // namespace zelmora::testing
