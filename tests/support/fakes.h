#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/system.h"
#include "engine/cache_measurement.h"
#include "engine/worker.h"
#include "settings/settings_store.h"
#include "settings/shortcuts.h"
#include "shell/tray_shell.h"
#include "shell/web_links.h"

// Fakes of the services below the window, temporary trees and the platform's real file system: what a test of a
// service needs, without the window (harness.h has the window's).

namespace zelmora::testing {

// An in-memory folder tree with failures to inject. Paths use "\" and are matched whole.
struct FakeNode {
    std::map<std::string, FakeNode> folders;
    std::vector<FileEntry> files;
    std::set<std::string> heldFiles;  // open elsewhere: they cannot be deleted
    std::set<std::string> goneFiles;  // listed, but removed by their owner before the deletion reaches them
    bool unopenable = false;
    bool heldWhileDeleting = false;  // measured, but another program holds it once the deletion comes
    bool undeletable = false;        // removing this folder fails once it is empty
};

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(std::map<std::string, FakeNode>& roots,
                            std::chrono::microseconds pausePerFile = std::chrono::microseconds(0))
        : roots_(roots), pausePerFile_(pausePerFile) {}
    std::unique_ptr<Folder> GetFolder(const std::string& path) override;
    bool Exists(const std::string& path) override;
    Deletion DeleteFolder(const std::string& path, DeletionProgress& progress) override;

private:
    FakeNode* Find(const std::string& path);
    std::map<std::string, FakeNode>& roots_;  // keyed by full path
    std::chrono::microseconds pausePerFile_;  // each file takes this long to delete
};

// Records what a measurement or a deletion tells, and asks it to stop once it has measured so many folders or been
// asked before so many entries.
struct RecordingProgress : MeasurementProgress, DeletionProgress {
    bool StopRequested() const override {
        if (beforeEntry)
            std::exchange(beforeEntry, {})();
        return lines.size() >= stopAfterFolders || asked++ >= stopAfterEntries;
    }
    void FolderMeasured(std::string line) override { lines.push_back(std::move(line)); }
    void FilesCounted(int64_t files) override { counted += files; }
    void LevelUnreadable() override { ++unreadable; }
    void FileDeleted(int64_t length) override { deleted.push_back(length); }
    int64_t Freed() const;

    std::vector<std::string> lines;
    int64_t counted = 0;
    int unreadable = 0;
    std::vector<int64_t> deleted;  // the lengths of the files deleted, in order
    size_t stopAfterFolders = SIZE_MAX;
    size_t stopAfterEntries = SIZE_MAX;
    mutable size_t asked = 0;
    mutable std::function<void()> beforeEntry;  // runs once, as the walk asks before its first entry
};

class FakeFileSystemFactory : public FileSystemFactory {
public:
    std::unique_ptr<FileSystem> Create() override;
    FakeNode& AddRoot(const std::string& path) { return roots[path]; }

    std::map<std::string, FakeNode> roots;
    int created = 0;
    bool failCreation = false;
    std::chrono::microseconds pausePerFile{0};
};

// The cleaning's thread, run on the caller's: the work runs at once, or waits until the test runs it (hold), and
// its news reach the form once it has run, as the window's thread would take them.
class FakeWorker : public Worker {
public:
    void Start(std::function<void()> work) override;
    void Join() override;
    void Notify() override { newsPending_ = true; }
    void RunHeld();

    std::function<void()> news;  // raises the form's WorkerNews event
    bool hold = false;
    int started = 0;

private:
    void Run(std::function<void()> work);
    std::function<void()> held_;
    bool newsPending_ = false;
};

class FakeSystem : public System {
public:
    std::string LocalTime() override { return time; }
    uint32_t Milliseconds() override {
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count());
    }
    std::string Environment(const std::string& name) override {
        auto found = environment.find(name);
        return found == environment.end() ? "" : found->second;
    }
    std::string ProgramDirectory() override { return programDirectory; }
    std::string AppDataFolder() override {
        ++appDataAsked;
        return appData;
    }
    bool IsOwnProfileFolder(const std::string& path) override { return path == ownProfile; }

    std::string time = "14:03:27";
    std::map<std::string, std::string> environment{{"USERNAME", "alice"}};
    std::string programDirectory = "C:\\Zelmora";
    std::string appData = "C:\\Users\\alice\\AppData\\Roaming";
    std::string ownProfile = "C:\\Documents and Settings\\alice";
    int appDataAsked = 0;
};

// Keeps values in memory and records every write in order.
class RecordingSettings : public SettingsStore {
public:
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                     const std::string& file) override;
    bool Write(const std::string& section, const std::string& key, const std::string& value,
               const std::string& file) override;
    bool CanWrite(const std::string& file) override { return !unwritable.contains(file); }
    void StartFrom(const std::string& original, const std::string& file) override {
        started.push_back(original + " > " + file);
    }

    std::map<std::string, std::string> values;  // "Section/Key"
    std::vector<std::string> writes;            // "Section/Key=value"
    std::string path;                           // of the last read or write
    std::set<std::string> unwritable;           // paths; their writes fail
    std::vector<std::string> started;           // "original > path"
};

// Records every call to the shell with the record as it was and the settings written so far.
class RecordingTray : public TrayShell {
public:
    explicit RecordingTray(const RecordingSettings& settings) : settings_(settings) {}
    int32_t NotifyIcon(uint32_t message, const NotifyRecord& record) override {
        calls.push_back({message, record, settings_.writes.size()});
        return answers.empty() ? 1 : Next();
    }
    int32_t Next() {
        const int32_t answer = answers.front();
        answers.erase(answers.begin());
        if (answer == kFail)
            throw std::runtime_error("the shell call failed");
        return answer;
    }
    static constexpr int32_t kFail = -1;
    struct Call {
        uint32_t message;
        NotifyRecord record;
        size_t settingsWritten;
    };
    std::vector<Call> calls;
    std::vector<int32_t> answers;  // given in order, then 1

private:
    const RecordingSettings& settings_;
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

class RecordingBrowser : public Browser {
public:
    void Open(const std::string& url) override {
        if (fail)
            throw std::runtime_error("no browser");
        opened.push_back(url);
    }
    std::vector<std::string> opened;
    bool fail = false;
};

inline const std::string kAliceCache = "C:\\Documents and Settings\\alice\\Application Data\\sina\\weibo\\cache";

// A folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // The path of an entry in the folder as UTF-8 text.
    std::string Text(const std::string& relative = "") const;

private:
    std::filesystem::path path_;
};

void MakeFile(const std::filesystem::path& path, uintmax_t size);
// Runs the work on a thread with a stack of only that many bytes, where work that needs a deep stack crashes.
void RunWithStack(size_t bytes, const std::function<void()>& work);
// A whole file's bytes.
std::string Contents(const std::filesystem::path& path);

}  // namespace zelmora::testing

namespace zelmora::testing {
// The file-system provider of the platform the tests run on.
std::unique_ptr<FileSystemFactory> MakeRealFileSystems();
}  // namespace zelmora::testing
