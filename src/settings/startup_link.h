#pragma once

#include <string>

#include "settings/shortcuts.h"

namespace zelmora {

// Where the start-at-log-on shortcut goes: the old fixed Startup folder where the profile folder it is in is the
// user's own (fixedProfile, else empty) and the folder exists (Simplified Chinese systems of that age), otherwise
// the user's real Startup folder.
std::string StartupLinkPath(Shortcuts& shortcuts, const std::string& fixedProfile);

// Writes the shortcut at the path to the program in that folder, with its hot key Ctrl+Alt+C. Throws.
void MakeShortcut(Shortcuts& shortcuts, const std::string& path, const std::string& programDirectory);
// Removes the shortcut at the path, where there is one. Throws when it cannot.
void RemoveShortcut(Shortcuts& shortcuts, const std::string& path);

}  // namespace zelmora
