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
        ++replaces;
        if (busyReplaces > 0) {
            --busyReplaces;
            return FileOutcome::Busy;
        }
        Record([from, to](Disk& disk) {
            disk.names[to] = disk.names.at(from);
            disk.names.erase(from);
        });
        return FileOutcome::Done;
    }
    void Remove(const std::string& path) override {
        Record([path](Disk& disk) { disk.names.erase(path); });
    }
    void Pause(uint32_t milliseconds) override { paused += milliseconds; }

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
    int busyReplaces = 0;
    int replaces = 0;
    uint32_t paused = 0;

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

// The settings file's bytes, or none where it is missing: what the next start reads.
std::optional<std::string> Settings(Disk& disk) {
    const Disk::Data* file = disk.Find(kPath);
    return file ? std::optional(file->written) : std::nullopt;
}

// Runs the save, then rebuilds every state a crash could leave after each of its operations, each with the data not
// flushed kept, lost, or torn at every place; the states in which the next start would read neither the settings
// before nor after the save.
struct CrashStates {
    size_t checked = 0;
    std::vector<std::string> bad;
};
CrashStates CheckCrashes(const Disk& start, const std::function<void(SimulatedFiles&)>& save) {
    SimulatedFiles files(start);
    Disk before = start;
    const std::optional<std::string> old = Settings(before);
    save(files);
    Disk after = files.Now();
    const std::optional<std::string> saved = Settings(after);
    CrashStates states;
    for (size_t operations = 0; operations <= files.Operations(); ++operations) {
        for (const Unflushed unflushed : {Unflushed::Kept, Unflushed::Lost, Unflushed::Torn}) {
            const size_t cuts = unflushed == Unflushed::Torn ? saved.value_or("").size() : 1;
            for (size_t tornAt = 0; tornAt < cuts; ++tornAt) {
                Disk crashed = files.CrashedAfter(operations, unflushed, tornAt);
                const std::optional<std::string> read = Settings(crashed);
                ++states.checked;
                if (read != old && read != saved)
                    states.bad.push_back(std::to_string(operations) + " operations: " + read.value_or("<missing>"));
            }
        }
    }
    return states;
}

TEST(WholeSave, EveryCrashStateLeavesTheOldOrTheNewSettings) {
    struct Case {
        const char* name;
        Disk start;
    };
    size_t checked = 0;
    for (const Case& c : {Case{"a file of the user's", DiskWith(kOld)}, Case{"no file yet", DiskWith(std::nullopt)},
                          Case{"a copy left by a kill", DiskWith(kOld, std::string("[Cls]\r\nTKB=9", 11))}}) {
        const CrashStates states =
            CheckCrashes(c.start, [](SimulatedFiles& files) { EXPECT_TRUE(SaveWhole(files, kCarry, kPath)); });
        EXPECT_EQ(states.bad, std::vector<std::string>{}) << c.name;
        checked += states.checked;
    }
    std::printf("crash states checked: %zu\n", checked);
}

// The same check finds what writing in place leaves: empty, cut and half-saved files.
TEST(WholeSave, TheCheckFindsTheStatesThatWritingInPlaceLeaves) {
    const CrashStates states = CheckCrashes(DiskWith(kOld), [](SimulatedFiles& files) { files.Write(kCarry, kPath); });
    EXPECT_GT(states.bad.size(), states.checked / 4) << "of " << states.checked;
}

TEST(WholeSave, TheSavedFileHoldsTheUsersLinesAndTheNewValues) {
    SimulatedFiles files(DiskWith(kOld, "garbage"));
    EXPECT_TRUE(SaveWhole(files, kCarry, kPath));
    Disk now = files.Now();
    EXPECT_EQ(Settings(now), "; mine\r\n[Auto]\r\nDel=1\r\nTime=5\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=4\r\nTKB=8\r\n");
    EXPECT_FALSE(now.Find(SaveCopyOf(kPath))) << "the copy left by a kill went with the save";
}

// Another program holding the file makes the rename wait, half a second at most, and then fail.
TEST(WholeSave, AHeldFileIsWaitedForWithinABound) {
    for (const int busy : {3, 100}) {
        SimulatedFiles files(DiskWith(kOld));
        files.busyReplaces = busy;
        EXPECT_EQ(SaveWhole(files, kCarry, kPath), busy == 3) << busy;
        EXPECT_LE(files.paused, 500u);
        Disk now = files.Now();
        EXPECT_EQ(Settings(now) == kOld, busy != 3) << busy;
        EXPECT_FALSE(now.Find(SaveCopyOf(kPath))) << busy;
    }
}

// A linked file, or a folder that takes no new file, is written in place; a read-only file is not written.
TEST(WholeSave, WhereNoCopyCanReplaceItTheFileIsWrittenInPlaceOrNotAtAll) {
    struct Case {
        std::optional<SettingsFileKind> kind;
        FileOutcome copy;
        bool saved;
        bool written;
    };
    for (const Case& c : {Case{SettingsFileKind::Linked, FileOutcome::Done, true, true},
                          Case{std::nullopt, FileOutcome::Refused, true, true},
                          Case{SettingsFileKind::Unwritable, FileOutcome::Done, false, false},
                          Case{std::nullopt, FileOutcome::Failed, false, false}}) {
        SimulatedFiles files(DiskWith(kOld));
        files.kind = c.kind;
        files.copyOutcome = c.copy;
        EXPECT_EQ(SaveWhole(files, kCarry, kPath), c.saved);
        Disk now = files.Now();
        EXPECT_EQ(Settings(now) != kOld, c.written);
        EXPECT_EQ(files.replaces, 0);
    }
}

TEST(WholeSave, TheFirstCopyIsWholeAndOnlyWhereTheFileIsMissing) {
    const std::string own = "C:\\Users\\alice\\AppData\\Roaming\\Zelmora\\Config.ini";
    Disk start = DiskWith(kOld);
    SimulatedFiles files(start);
    CopyWhole(files, kPath, own);
    for (size_t operations = 0; operations <= files.Operations(); ++operations) {
        for (const Unflushed unflushed : {Unflushed::Lost, Unflushed::Torn}) {
            Disk crashed = files.CrashedAfter(operations, unflushed, 3);
            const Disk::Data* copy = crashed.Find(own);
            EXPECT_TRUE(!copy || copy->written == kOld) << operations;
        }
    }
    Disk now = files.Now();
    ASSERT_TRUE(now.Find(own));
    EXPECT_EQ(now.Find(own)->written, kOld);

    start.Truncated(own).written = "mine";
    SimulatedFiles again(start);
    CopyWhole(again, kPath, own);
    EXPECT_EQ(again.Operations(), 0u) << "a file of the user's own is left as it is";
}

}  // namespace
}  // namespace zelmora::testing
