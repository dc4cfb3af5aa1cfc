#pragma once

#include <string>

#include "settings/settings_store.h"

namespace zelmora {

// Where the settings live: beside the program where its folder lets them be written there; otherwise in the
// user's own application data, started from those beside the program. Where neither can be written, they are
// still read from beside the program.
std::string SettingsPath(SettingsStore& store, const std::string& programDirectory, const std::string& appData);

}  // namespace zelmora
