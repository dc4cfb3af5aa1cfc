#pragma once

#include "settings/whole_save.h"

namespace zelmora {

// A whole save's file operations on Windows: the profile API on the copy, FlushFileBuffers, and MoveFileExW with
// MOVEFILE_WRITE_THROUGH, which Windows XP has.
class Win32SaveFiles : public SaveFiles {
public:
    SettingsFileKind KindOf(const std::string& path) override;
    FileOutcome Copy(const std::string& from, const std::string& to) override;
    bool Write(const std::vector<StoredValue>& values, const std::string& path) override;
    bool Flush(const std::string& path) override;
    FileOutcome Replace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    void Pause(uint32_t milliseconds) override;
};

}  // namespace zelmora
