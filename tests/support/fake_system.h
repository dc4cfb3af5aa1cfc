#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "base/system.h"

// The system's answers, set by the test.

namespace zelmora::testing {

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

}  // namespace zelmora::testing
