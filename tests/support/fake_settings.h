#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "settings/shortcuts.h"

// The settings file and the shortcut files, in memory.

namespace zelmora::testing {

// Keeps values in memory and records every write in order.
class RecordingSettings : public SettingsStore {
public:
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                     const std::string& file) override;
    bool Save(const std::vector<StoredValue>& saved, const std::string& file) override;
    bool CanWrite(const std::string& file) override { return !unwritable.contains(file); }
    void StartFrom(const std::string& original, const std::string& file) override {
        started.push_back(original + " > " + file);
    }

    std::map<std::string, std::string> values;    // "Section/Key"
    std::vector<std::string> writes;              // "Section/Key=value", of every save
    std::vector<std::vector<std::string>> saves;  // each save's writes
    std::string path;                             // of the last read or save
    std::set<std::string> unwritable;             // paths; their saves fail
    int failingSaves = 0;                         // so many saves fail, whatever their path
    std::vector<std::string> started;             // "original > path"
};

// Shortcut files in memory.
class FakeShortcuts : public Shortcuts {
public:
    bool Exists(const std::string& path) override { return files.contains(path); }
    bool FolderExists(const std::string& path) override { return folders.contains(path); }
    std::string StartupFolder() override { return "C:\\Users\\alice\\Startup"; }
    void Save(const std::string& path, const std::string& target, const std::string& hotkey) override {
        if (fail)
            throw std::runtime_error("cannot save " + path);
        files[path] = target + " " + hotkey;
    }
    void Delete(const std::string& path) override {
        if (fail)
            throw std::runtime_error("cannot delete " + path);
        files.erase(path);
    }
    std::map<std::string, std::string> files;  // path: target and hot key
    std::set<std::string> folders;
    bool fail = false;
};

}  // namespace zelmora::testing
