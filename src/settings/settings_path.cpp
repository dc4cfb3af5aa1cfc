#include "settings/settings_path.h"

namespace zelmora {

std::string SettingsPath(SettingsStore& store, const std::string& programDirectory, const std::string& appData) {
    const std::string beside = programDirectory + "\\Config.ini";
    if (store.CanWrite(beside) || appData.empty())
        return beside;
    const std::string own = appData + "\\Zelmora\\Config.ini";
    store.StartFrom(beside, own);
    return store.CanWrite(own) ? own : beside;
}

}  // namespace zelmora
