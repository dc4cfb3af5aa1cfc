#include <gtest/gtest.h>

#include "fake_settings.h"
#include "settings/settings_path.h"

namespace zelmora::testing {
namespace {

TEST(SettingsPath, BesideTheProgramOrElseInTheUsersApplicationData) {
    const std::string appData = "C:\\Users\\alice\\AppData\\Roaming";
    const std::string beside = "C:\\Zelmora\\Config.ini";
    const std::string own = appData + "\\Zelmora\\Config.ini";
    struct Case {
        bool besideWritable;
        bool ownWritable;
        std::string appData;
        std::string path;
        std::vector<std::string> started;
    };
    for (const Case& c :
         {Case{true, true, appData, beside, {}}, Case{false, true, appData, own, {beside + " > " + own}},
          Case{false, false, appData, beside, {beside + " > " + own}}, Case{false, true, "", beside, {}}}) {
        RecordingSettings store;
        if (!c.besideWritable)
            store.unwritable.insert(beside);
        if (!c.ownWritable)
            store.unwritable.insert(own);
        EXPECT_EQ(SettingsPath(store, "C:\\Zelmora", c.appData), c.path);
        EXPECT_EQ(store.started, c.started);
    }
}

}  // namespace
}  // namespace zelmora::testing
