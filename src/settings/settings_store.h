#pragma once

#include <string>

namespace zelmora {

// The two profile calls behind the settings file. Texts are UTF-8.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The value of the key, cut to kMaxValueBytes bytes in the file's encoding, or the default when the
    // file, the section or the key is missing. An empty stored value reads as empty text.
    virtual std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                             const std::string& path) = 0;

    // Stores the value, creating the file, the section and the key as needed. Failures go unreported.
    virtual void Write(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& path) = 0;

    static constexpr size_t kMaxValueBytes = 255;
};

}  // namespace zelmora
