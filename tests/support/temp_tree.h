#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// Real files for the tests of the real providers: a temporary folder, files of any size, a thread of a small stack.

namespace zelmora::testing {

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
