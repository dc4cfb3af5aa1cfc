#pragma once

#include "settings/shortcuts.h"

namespace zelmora {

// Shortcut files written through the shell's link object (IShellLinkW with IPersistFile).
class Win32Shortcuts : public Shortcuts {
public:
    bool Exists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    std::string StartupFolder() override;
    void Save(const std::string& path, const std::string& target, const std::string& hotkey) override;
    void Delete(const std::string& path) override;
};

}  // namespace zelmora
