#include "linux_figures.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/win32_text.h"
#include "zelmora_driver.h"

namespace zelmora::soak {

namespace {

const std::string kProc = "Z:\\proc";

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The kB of a "Name:   123 kB" line of a /proc file.
std::optional<int64_t> Kilobytes(const std::string& text, const std::string& name) {
    const std::string lines = "\n" + text;
    const std::string key = "\n" + name + ":";
    const size_t at = lines.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    return std::strtoll(lines.c_str() + at + key.size(), nullptr, 10);
}

std::optional<int64_t> Sum(std::optional<int64_t> a, std::optional<int64_t> b) {
    return a && b ? std::optional<int64_t>(*a + *b) : std::nullopt;
}

}  // namespace

LinuxFigures::LinuxFigures(const std::string& programFolder) {
    const std::string folder = Lowered(programFolder + "\\");
    std::vector<int> found;
    for (const std::string& name : Entries(kProc)) {
        if (!std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        std::string commandLine = e2e::ReadFile(kProc + "\\" + name + "\\cmdline");
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (Lowered(commandLine).find(folder) != std::string::npos)
            found.push_back(std::stoi(name));
    }
    if (found.size() == 1)
        processId_ = found.front();
}

std::vector<Figure> LinuxFigures::Sample() const {
    std::optional<int64_t> privateMemory;
    std::optional<int64_t> anonymousMemory;
    std::optional<int64_t> descriptors;
    if (processId_) {
        const std::string process = kProc + "\\" + std::to_string(*processId_);
        const std::string rollup = e2e::ReadFile(process + "\\smaps_rollup");
        privateMemory = Sum(Kilobytes(rollup, "Private_Clean"), Kilobytes(rollup, "Private_Dirty"));
        anonymousMemory = Kilobytes(e2e::ReadFile(process + "\\status"), "RssAnon");
        if (const size_t open = Entries(process + "\\fd").size())
            descriptors = static_cast<int64_t>(open);
    }
    const std::string missing = processId_ ? "not readable" : "no single Linux process names the program's folder";
    return {
        {"linux-private-KB", "Linux private memory (smaps_rollup Private_Clean + Private_Dirty)", privateMemory,
         missing},
        {"linux-anon-KB", "Linux anonymous memory (status RssAnon)", anonymousMemory, missing},
        {"linux-fds", "Linux open file descriptors (/proc/PID/fd)", descriptors, missing},
    };
}

}  // namespace zelmora::soak
