#pragma once

#include "settings/settings_store.h"
#include "settings/win32_save_files.h"

namespace zelmora {

// The Windows profile API, wide forms, so any folder name serves. A file without a UTF-16 byte-order mark
// is read and written in the system's ANSI code page, and a value read is cut to 255 bytes of that page. Saves and
// the first copy land whole (SaveWhole).
class Win32ProfileStore : public SettingsStore {
public:
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                     const std::string& path) override;
    bool Save(const std::vector<StoredValue>& values, const std::string& path) override;
    bool CanWrite(const std::string& path) override;
    void StartFrom(const std::string& original, const std::string& path) override;

private:
    Win32SaveFiles files_;
};

}  // namespace zelmora
