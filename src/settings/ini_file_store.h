#pragma once

#include "settings/settings_store.h"

namespace zelmora {

// A portable INI reader and writer that follows the Windows profile API's rules: sections and keys match
// without regard to letter case, the first of duplicates wins, blanks around keys and values and one pair
// of outer quotes are dropped on reading, and untouched lines are kept. The file is UTF-8 with CR LF line
// ends and is replaced whole on every write (written to a temporary file, then renamed over the old one).
class IniFileStore : public SettingsStore {
public:
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                     const std::string& path) override;
    bool Write(const std::string& section, const std::string& key, const std::string& value,
               const std::string& path) override;
    bool CanWrite(const std::string& path) override;
    void StartFrom(const std::string& original, const std::string& path) override;
};

}  // namespace zelmora
