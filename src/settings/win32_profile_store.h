#pragma once

#include "settings/settings_store.h"

namespace zelmora {

// The Windows profile API, ANSI forms: texts travel in the system's ANSI code page.
class Win32ProfileStore : public SettingsStore {
public:
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                     const std::string& path) override;
    void Write(const std::string& section, const std::string& key, const std::string& value,
               const std::string& path) override;
};

}  // namespace zelmora
