// Every case starts clean, whatever an earlier case or a run killed midway left in the prefix: no copy of the
// program or of a browser it opened still runs, and the program folders, the user's cache and stored settings,
// the folders outside the cache that cases plant and the Startup shortcut are gone.

#include <gtest/gtest.h>

#include "zelmora_driver.h"

namespace zelmora::e2e {
namespace {

class CleanStart : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        EndPrograms({L"Zelmora.exe", L"iexplore.exe"});
        // Linux removes the trees, read-only ones and deep ones too: Wine cannot delete below 4,096 bytes of path.
        std::string trees;
        for (const std::string& tree : {std::string("C:\\zelmora-e2e"), std::string("C:\\zelmora-e2e-outside"),
                                        ParentOf(ParentOf(Zelmora::CacheFolder())), UserSettingsFolder(),
                                        StartupFolder() + "\\Zelmora.lnk"})
            trees += " " + UnixPath(tree);
        RunShell("chmod -R u+w" + trees + " 2>/dev/null; rm -rf" + trees);
    }
};

[[maybe_unused]] const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStart);
    return true;
}();

}  // namespace
}  // namespace zelmora::e2e
