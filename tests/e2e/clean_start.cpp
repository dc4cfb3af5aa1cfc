// Every case starts clean, whatever an earlier case or a run killed midway left in the prefix: no copy of the
// program or of a browser it opened still runs, and the program folders, the user's cache and stored settings,
// the folders outside the cache that cases plant and the Startup shortcut are gone.

#include <gtest/gtest.h>

#include <optional>

#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

class CleanStart : public ::testing::EmptyTestEventListener {
    // No window manager runs on the tests' display, and Wine waits two seconds for one each time a window it lets
    // one manage is hidden: the program's windows are Wine's own for the case.
    std::optional<UserRegistryValue> unmanaged_;

    void OnTestEnd(const ::testing::TestInfo&) override { unmanaged_.reset(); }
    void OnTestStart(const ::testing::TestInfo&) override {
        unmanaged_.emplace(L"Software\\Wine\\AppDefaults\\Zelmora.exe\\X11 Driver", L"Managed", L"N");
        EndPrograms({L"Zelmora.exe", L"iexplore.exe"});
        // Linux removes the trees, read-only ones and deep ones too: Wine cannot delete below 4,096 bytes of path.
        std::string trees;
        for (const std::string& tree :
             {std::string("C:\\zelmora-e2e"), std::string("C:\\zelmora-e2e-outside"),
              ParentOf(ParentOf(Zelmora::CacheFolder())), UserSettingsFolder(), StartupFolder() + "\\Zelmora.lnk"})
            trees += " " + UnixPath(tree);
        // A small file system a case mounted in its program folder goes first.
        RunShell("awk -v under=" + UnixPath("C:\\zelmora-e2e\\") +
                 " 'index($2, under) == 1 {print $2}' /proc/mounts | xargs -r umount -l; chmod -R u+w" + trees +
                 " 2>/dev/null; rm -rf" + trees);
    }
};

[[maybe_unused]] const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStart);
    return true;
}();

}  // namespace
}  // namespace zelmora::e2e
