// A save's file operations on a simulated disk, and every state a crash or a power cut can leave, in the manner of
// SQLite's crash tests: the next start must read the settings the save found or the ones it leaves.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "settings/whole_save.h"

namespace zelmora::testing {
namespace {

// Files as a disk keeps them: a name leads to data, of which only what was flushed is sure to survive a crash. A
// rename is on the disk when it returns (MOVEFILE_WRITE_THROUGH).
struct Disk {
    struct Data {
        std::string written;
        std::string flushed;
    };
    std::map<std::string, int> names;
    std::map<int, Data> data;
    int nextData = 1;

    Data* Find(const std::string& name) {
        const auto found = names.find(name);
        return found == names.end() ? nullptr : &data[found->second];
    }
    Data& Truncated(const std::string& name) {
        if (Data* existing = Find(name)) {
            existing->written.clear();
            return *existing;
        }
        names[name] = nextData;
        return data[nextData++];
    }
};

// What a crash does to data written and not flushed.
enum class Unflushed { Kept, Lost, Torn };

// The profile API's write of one key: the file read, changed and written again whole, in place, as Wine's does.
std::string WithKey(const std::string& text, const StoredValue& stored) {
    const std::string header = "[" + stored.section + "]\r\n";
    const std::string line = stored.key + "=" + stored.value + "\r\n";
    const size_t section = text.find(header);
    if (section == std::string::npos)
        return text + header + line;
    const size_t body = section + header.size();
    const size_t next = text.find("\r\n[", body - 2);
    const size_t end = next == std::string::npos ? text.size() : next + 2;
    const size_t key = text.find("\r\n" + stored.key + "=", body - 2);
    if (key != std::string::npos && key + 2 < end) {
        const size_t lineEnd = text.find("\r\n", key + 2) + 2;
        return text.substr(0, key + 2) + line + text.substr(lineEnd);
    }
    return text.substr(0, end) + line + text.substr(end);
}

// The file operations on a simulated disk, each recorded, so the disk can be rebuilt as it stood after any number
// of them.
class SimulatedFiles : public SaveFiles {
public:
    explicit SimulatedFiles(Disk start) : start_(start), disk_(std::move(start)) {}

    SettingsFileKind KindOf(const std::string& path) override {
        if (kind)
            return *kind;
        return disk_.Find(path) ? SettingsFileKind::Plain : SettingsFileKind::Missing;
    }
    FileOutcome Copy(const std::string& from, const std::string& to) override {
        if (copyOutcome != FileOutcome::Done)
            return copyOutcome;
        const Disk::Data* source = disk_.Find(from);
        const std::string bytes = source ? source->written : "";
        Record([to, bytes](Disk& disk) { disk.Truncated(to).written = bytes; });
        return FileOutcome::Done;
    }
    bool Write(const std::vector<StoredValue>& values, const std::string& path) override {
        for (const StoredValue& stored : values) {
            const Disk::Data* file = disk_.Find(path);
            const std::string text = WithKey(file ? file->written : "", stored);
            Record([path](Disk& disk) { disk.Truncated(path); });
            Record([path, text](Disk& disk) { disk.Truncated(path).written = text; });
        }
        return true;
    }
    bool Flush(const std::string& path) override {
        Record([path](Disk& disk) {
            if (Disk::Data* file = disk.Find(path))
                file->flushed = file->written;
        });
        return true;
    }
    FileOutcome Replace(const std::string& from, const std::string& to) override {
        Record([from, to](Disk& disk) {
            disk.names[to] = disk.names.at(from);
            disk.names.erase(from);
        });
        return FileOutcome::Done;
    }
    void Remove(const std::string& path) override {
        Record([path](Disk& disk) { disk.names.erase(path); });
    }
    void Pause(uint32_t) override {}

    size_t Operations() const { return log_.size(); }
    // The disk after the first so many operations and then a crash, which treats the data not flushed so.
    Disk CrashedAfter(size_t operations, Unflushed unflushed, size_t tornAt) const {
        Disk disk = start_;
        for (size_t i = 0; i < operations; ++i)
            log_[i](disk);
        for (auto& [id, data] : disk.data) {
            if (data.written == data.flushed || unflushed == Unflushed::Kept)
                continue;
            if (unflushed == Unflushed::Lost)
                data.written = data.flushed;
            else if (tornAt < data.written.size())  // the length reached the disk, the tail of the data did not
                data.written = data.written.substr(0, tornAt) + std::string(data.written.size() - tornAt, '\0');
        }
        return disk;
    }
    const Disk& Now() const { return disk_; }

    std::optional<SettingsFileKind> kind;
    FileOutcome copyOutcome = FileOutcome::Done;

private:
    void Record(std::function<void(Disk&)> operation) {
        operation(disk_);
        log_.push_back(std::move(operation));
    }

    Disk start_;
    Disk disk_;
    std::vector<std::function<void(Disk&)>> log_;
};

const std::string kPath = "C:\\Zelmora\\Config.ini";
const std::string kOld = "; mine\r\n[Auto]\r\nDel=1\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=3\r\nTKB=1000\r\n";
const std::vector<StoredValue> kCarry = {{"Cls", "TGB", "0"}, {"Cls", "TMB", "4"}, {"Cls", "TKB", "8"}};

Disk DiskWith(std::optional<std::string> config, std::optional<std::string> leftOver = std::nullopt) {
    Disk disk;
    if (config)
        disk.Truncated(kPath) = {*config, *config};
    if (leftOver)
        disk.Truncated(SaveCopyOf(kPath)) = {*leftOver, *leftOver};
    return disk;
}

// A file's bytes, or none where it is missing: what the next start reads.
std::optional<std::string> Bytes(const Disk& disk, const std::string& path) {
    const auto found = disk.names.find(path);
    return found == disk.names.end() ? std::nullopt : std::optional(disk.data.at(found->second).written);
}

// Runs the operations, then rebuilds every state a crash could leave after each of them, with the data not flushed
// kept, lost, or torn at every place; the states in which the file reads as neither what it held before nor after.
struct CrashStates {
    size_t checked = 0;
    std::vector<std::string> bad;
};
CrashStates CheckCrashes(const Disk& start, const std::string& path, const std::function<void(SimulatedFiles&)>& run) {
    SimulatedFiles files(start);
    run(files);
    const std::optional<std::string> old = Bytes(start, path);
    const std::optional<std::string> saved = Bytes(files.Now(), path);
    CrashStates states;
    for (size_t operations = 0; operations <= files.Operations(); ++operations) {
        for (const Unflushed unflushed : {Unflushed::Kept, Unflushed::Lost, Unflushed::Torn}) {
            const size_t cuts = unflushed == Unflushed::Torn ? saved.value_or("").size() : 1;
            for (size_t tornAt = 0; tornAt < cuts; ++tornAt) {
                const std::optional<std::string> read = Bytes(files.CrashedAfter(operations, unflushed, tornAt), path);
                ++states.checked;
                if (read != old && read != saved)
                    states.bad.push_back(std::to_string(operations) + " operations: " + read.value_or("<missing>"));
            }
        }
    }
    return states;
}

TEST(WholeSave, EveryCrashStateLeavesTheOldOrTheNewSettings) {
    const std::string own = "C:\\Users\\alice\\AppData\\Roaming\\Zelmora\\Config.ini";
    const auto save = [](SimulatedFiles& files) { EXPECT_TRUE(SaveWhole(files, kCarry, kPath)); };
    struct Case {
        const char* name;
        Disk start;
        std::string path;
        std::function<void(SimulatedFiles&)> run;
    };
    size_t checked = 0;
    for (const Case& c : {Case{"a file of the user's", DiskWith(kOld), kPath, save},
                          Case{"no file yet", DiskWith(std::nullopt), kPath, save},
                          Case{"a copy left by a kill", DiskWith(kOld, std::string("[Cls]\r\nTKB=9", 11)), kPath, save},
                          Case{"the first copy into application data", DiskWith(kOld), own,
                               [&](SimulatedFiles& files) { CopyWhole(files, kPath, own); }}}) {
        const CrashStates states = CheckCrashes(c.start, c.path, c.run);
        EXPECT_EQ(states.bad, std::vector<std::string>{}) << c.name;
        checked += states.checked;
    }
    std::printf("crash states checked: %zu\n", checked);
    SimulatedFiles files(DiskWith(kOld));
    SaveWhole(files, kCarry, kPath);
    EXPECT_EQ(Bytes(files.Now(), kPath),
              "; mine\r\n[Auto]\r\nDel=1\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=4\r\nTKB=8\r\n");
}

// The same check finds what writing in place leaves: empty, cut and half-saved files.
TEST(WholeSave, TheCheckFindsTheStatesThatWritingInPlaceLeaves) {
    const CrashStates states =
        CheckCrashes(DiskWith(kOld), kPath, [](SimulatedFiles& files) { files.Write(kCarry, kPath); });
    EXPECT_GT(states.bad.size(), states.checked / 4) << "of " << states.checked;
}

// A linked file, or a folder that takes no new file, is written in place; a read-only file is not written.
TEST(WholeSave, WhereNoCopyCanReplaceItTheFileIsWrittenInPlaceOrNotAtAll) {
    struct Case {
        std::optional<SettingsFileKind> kind;
        FileOutcome copy;
        bool saved;
    };
    for (const Case& c :
         {Case{SettingsFileKind::Linked, FileOutcome::Done, true}, Case{std::nullopt, FileOutcome::Refused, true},
          Case{SettingsFileKind::Unwritable, FileOutcome::Done, false},
          Case{std::nullopt, FileOutcome::Failed, false}}) {
        SimulatedFiles files(DiskWith(kOld));
        files.kind = c.kind;
        files.copyOutcome = c.copy;
        EXPECT_EQ(SaveWhole(files, kCarry, kPath), c.saved);
        EXPECT_EQ(Bytes(files.Now(), kPath) != kOld, c.saved);
        EXPECT_FALSE(Bytes(files.Now(), SaveCopyOf(kPath)));
    }
}

}  // namespace
}  // namespace zelmora::testing
