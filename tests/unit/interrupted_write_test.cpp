// The portable settings store killed at random moments of its writes.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "settings/ini_file_store.h"
#include "test_support.h"

namespace zelmora::testing {
namespace {

// Writes TKB=<writer>-<n> for n = 1, 2, ... until killed; a stray writer ends by itself.
[[noreturn]] void WriteUntilKilled(int writer, const std::string& path) {
    IniFileStore store;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int n = 1; std::chrono::steady_clock::now() < end; ++n)
        store.Write("Cls", "TKB", std::to_string(writer) + "-" + std::to_string(n), path);
    _exit(0);
}

TEST(InterruptedWrite, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFileNeverATornOne) {
    TempDir dir;
    const std::filesystem::path file = dir.Path() / "Config.ini";
    // Large enough that each write takes a while.
    std::string head = "[Auto]\r\nDel=1\r\nTime=15\r\nALoad=0\r\n";
    for (int i = 0; i < 4000; ++i)
        head += "Key" + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
    head += "[Cls]\r\nTGB=0\r\nTMB=0\r\nTKB=";
    std::ofstream(file, std::ios::binary) << head << "0\r\n";

    // Each writer is killed at a random moment after it began writing its temporary file.
    const std::filesystem::path temporary = dir.Path() / "Config.ini.tmp";
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> delayMicroseconds(0, 400);
    int kills = 0;
    int killedWhileWriting = 0;
    // Two seconds of kills, longer on a busy machine until one has come while a file was written.
    const auto start = std::chrono::steady_clock::now();
    const auto enough = [&] {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        return elapsed > std::chrono::seconds(2) && (killedWhileWriting > 0 || elapsed > std::chrono::seconds(20));
    };
    for (; !enough(); ++kills) {
        std::filesystem::remove(temporary);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            WriteUntilKilled(kills, dir.Text("Config.ini"));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (!std::filesystem::exists(temporary) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended before it was killed";

        killedWhileWriting += std::filesystem::exists(temporary);
        const std::string text = Contents(file);
        ASSERT_TRUE(text.starts_with(head) && text.ends_with("\r\n")) << "torn after " << kills << " kills";
        const std::string value = text.substr(head.size(), text.size() - head.size() - 2);
        ASSERT_TRUE(value == "0" || value.find_first_not_of("0123456789-") == std::string::npos) << value;
    }
    EXPECT_GT(killedWhileWriting, 0) << "no kill came while a file was written, in " << kills << " kills";
}

}  // namespace
}  // namespace zelmora::testing
