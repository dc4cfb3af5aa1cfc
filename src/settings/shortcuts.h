#pragma once

#include <string>

namespace zelmora {

// Shortcut files and the folders they live in.
class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    // Whether an entry exists at the path; hidden and system entries are not seen.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool FolderExists(const std::string& path) = 0;
    // The user's own Startup folder, as the system names it.
    virtual std::string StartupFolder() = 0;
    // Writes a shortcut to the target with the hot key ("ALT+CTRL+C"), replacing one that exists. Throws.
    virtual void Save(const std::string& path, const std::string& target, const std::string& hotkey) = 0;
    // Throws when the file cannot be deleted.
    virtual void Delete(const std::string& path) = 0;
};

}  // namespace zelmora
