#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace zelmora {

// What a file operation came to.
enum class FileOutcome {
    Done,
    Busy,     // another program holds the file for a moment (an editor, a backup, an antivirus scan)
    Refused,  // no right to make the file where it was to be
    Failed,   // anything else: a full disk, a missing folder
};

// The settings file as it stands.
enum class SettingsFileKind {
    Missing,
    Plain,
    Unwritable,  // read-only, or a folder of that name
    Linked,      // one of several names of its data, or a link to it
};

// The file operations a whole save is made of.
class SaveFiles {
public:
    virtual ~SaveFiles() = default;
    virtual SettingsFileKind KindOf(const std::string& path) = 0;
    // Makes the file at to a writable copy of the one at from, or an empty one where from is missing, replacing
    // whatever is at to.
    virtual FileOutcome Copy(const std::string& from, const std::string& to) = 0;
    // The profile API's writes of the values, which keep the file's encoding, order and line endings.
    virtual bool Write(const std::vector<StoredValue>& values, const std::string& path) = 0;
    // Puts the file's data on the disk.
    virtual bool Flush(const std::string& path) = 0;
    // Renames from over to, in one step that is on the disk when it returns.
    virtual FileOutcome Replace(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
    virtual void Pause(uint32_t milliseconds) = 0;
};

// The copy a save prepares beside the file: never read as the settings, replaced by the next save.
std::string SaveCopyOf(const std::string& path);

// Saves the values so that the file holds, at every moment, crash and power cut included, either all it held or
// all the save leaves: the profile writes go to a copy beside it, which is flushed and then renamed over it. A
// file that is one of several names of its data, or a link, is written in place, so every name keeps seeing it;
// so is a file whose folder takes no new file. False when the save failed: the file holds what it held.
bool SaveWhole(SaveFiles& files, const std::vector<StoredValue>& values, const std::string& path);

// Makes the file at to a copy of the one at from, whole or not at all, where to is missing and from is not.
void CopyWhole(SaveFiles& files, const std::string& from, const std::string& to);

}  // namespace zelmora
