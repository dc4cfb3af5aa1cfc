#pragma once

#include <string>

namespace zelmora {

// The two profile calls behind the settings file, and what finding a place for it needs. Texts are UTF-8.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The value of the key, cut to kMaxValueBytes bytes in the file's encoding, or the default when the
    // file, the section or the key is missing. An empty stored value reads as empty text.
    virtual std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                             const std::string& path) = 0;

    // Stores the value, creating the file, the section and the key as needed; false when it could not.
    virtual bool Write(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& path) = 0;

    // Whether the file may be written: it exists and can be, or it is missing and may be made where it is.
    virtual bool CanWrite(const std::string& path) = 0;
    // Makes the folder that holds the path, with those above it. A file missing there starts as a copy of the
    // original, where that exists.
    virtual void StartFrom(const std::string& original, const std::string& path) = 0;

    static constexpr size_t kMaxValueBytes = 255;
};

}  // namespace zelmora
