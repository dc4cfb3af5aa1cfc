// Writing a key to any file leaves a file where that key reads back as written and every other key reads as
// it did before; writing the same value again changes nothing.
//
// Input: a byte choosing the section, a byte choosing the key, the value up to the first line feed, then
// the file's contents.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/ini_file_store.h"

namespace {

namespace fs = std::filesystem;

const char* const kSections[] = {"Auto", "Cls", "auto", "CLS", "Other"};
const char* const kKeys[] = {"Del", "Time", "ALoad", "TGB", "TMB", "TKB", "time", "k"};
const std::string kAbsent = "<absent>";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The (section, key) pairs worth asking for: each key-like line under the header-like line above it.
std::vector<std::pair<std::string, std::string>> Pairs(std::string_view file) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string section;
    std::istringstream lines{std::string(file)};
    for (std::string line; std::getline(lines, line) && pairs.size() < 64;) {
        const std::string trimmed = Trim(line);
        if (trimmed.starts_with('[')) {
            section = Trim(std::string_view(trimmed).substr(1, trimmed.find(']') - 1));
        } else if (!trimmed.empty() && !trimmed.starts_with(';')) {
            pairs.emplace_back(section, Trim(std::string_view(trimmed).substr(0, trimmed.find('='))));
        }
    }
    return pairs;
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// On tmpfs where there is one: the store rewrites the file for every input.
struct Folder {
    Folder() {
        std::string name = (fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string()) +
                           "/zelmora-ini-fuzz-XXXXXX";
        if (!mkdtemp(name.data()))
            std::abort();
        path = name;
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return -1;
    const std::string section = kSections[data[0] % std::size(kSections)];
    const std::string key = kKeys[data[1] % std::size(kKeys)];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t lineEnd = std::min(rest.find('\n'), rest.size());
    const std::string_view file = rest.substr(std::min(lineEnd + 1, rest.size()));

    // Values as the store keeps them: one line, at most 255 bytes, no outer blanks, no outer quote pair.
    const std::string value = Trim(rest.substr(0, std::min<size_t>(lineEnd, zelmora::SettingsStore::kMaxValueBytes)));
    if (value.find('\r') != std::string::npos ||
        (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()))
        return -1;

    static const Folder folder;
    const fs::path path = folder.path / "Config.ini";
    const std::string pathText = path.string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    zelmora::IniFileStore store;
    const auto pairs = Pairs(file);
    std::vector<std::string> before;
    for (const auto& [s, k] : pairs)
        before.push_back(store.Read(s, k, kAbsent, pathText));

    store.Write(section, key, value, pathText);
    const std::string written = Contents(path);
    const std::string readBack = store.Read(section, key, kAbsent, pathText);
    if (readBack != value)
        Fail("[" + section + "] " + key + " wrote \"" + value + "\", read \"" + readBack + "\"");
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto& [s, k] = pairs[i];
        if (SameName(s, section) && SameName(k, key))
            continue;
        const std::string after = store.Read(s, k, kAbsent, pathText);
        if (after != before[i])
            Fail("[" + s + "] " + k + " was \"" + before[i] + "\", now \"" + after + "\"");
    }

    store.Write(section, key, value, pathText);
    if (Contents(path) != written)
        Fail("writing the same value again changed the file");
    return 0;
}
