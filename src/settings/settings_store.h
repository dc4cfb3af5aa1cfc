#pragma once

#include <string>
#include <vector>

namespace zelmora {

// A key's value as a save stores it.
struct StoredValue {
    std::string section;
    std::string key;
    std::string value;

    bool operator==(const StoredValue&) const = default;
};

// The settings file, and what finding a place for it needs. Texts are UTF-8.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The value of the key, cut to kMaxValueBytes bytes in the file's encoding, or the default when the
    // file, the section or the key is missing. An empty stored value reads as empty text.
    virtual std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                             const std::string& path) = 0;

    // Stores the values together, creating the file, the sections and the keys as needed: afterwards the file holds
    // all of them, or, where the save fails, what it held before. False when it could not.
    virtual bool Save(const std::vector<StoredValue>& values, const std::string& path) = 0;

    // Whether the file may be written: it exists and can be, or it is missing and may be made where it is.
    virtual bool CanWrite(const std::string& path) = 0;
    // Makes the folder that holds the path, with those above it. A file missing there starts as a copy of the
    // original, where that exists.
    virtual void StartFrom(const std::string& original, const std::string& path) = 0;

    static constexpr size_t kMaxValueBytes = 255;
};

}  // namespace zelmora
