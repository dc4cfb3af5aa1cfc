#include "settings/ini_file_store.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace zelmora {

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The parts of one line of the file.
struct Line {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, one pair of outer quotes removed
    bool hasValue = false;
};

Line Parse(std::string_view text) {
    Line line;
    text = Trim(text);
    if (text.empty() || text.front() == ';')
        return line;
    const size_t close = text.find(']');
    if (text.front() == '[' && close != std::string_view::npos) {
        line.kind = Line::Kind::Section;
        line.name = Trim(text.substr(1, close - 1));
        return line;
    }
    // A "[" without "]" starts no section: the line is read as a key of the section it stands in.
    line.kind = Line::Kind::Key;
    const size_t equals = text.find('=');
    line.name = Trim(text.substr(0, equals));
    if (equals == std::string_view::npos)
        return line;
    line.hasValue = true;
    line.value = Trim(text.substr(equals + 1));
    if (line.value.size() >= 2 && (line.value.front() == '"' || line.value.front() == '\'') &&
        line.value.back() == line.value.front())
        line.value = line.value.substr(1, line.value.size() - 2);
    return line;
}

// Lines end in CR LF, LF or a lone CR.
std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(PathOf(path), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    for (int c; (c = file.get()) != std::char_traits<char>::eof();) {
        if (c != '\r' && c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (c == '\r' && file.peek() == '\n')
            file.get();
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

// Where a section and a key stand in the file.
struct Place {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t lastKey = 0;  // the section's last key line, or its header
};

Place Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line line = Parse(lines[i]);
        if (line.kind == Line::Kind::Section) {
            if (place.section)
                break;
            if (SameName(line.name, section))
                place.section = place.lastKey = i;
        } else if (place.section && line.kind == Line::Kind::Key) {
            place.lastKey = i;
            if (!place.key && SameName(line.name, key))
                place.key = i;
        }
    }
    return place;
}

// Cuts to at most the given bytes without leaving a broken UTF-8 sequence at the end.
std::string CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return std::string(text);
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

}  // namespace

std::string IniFileStore::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                               const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    const Place place = Find(lines, section, key);
    const Line line = place.key ? Parse(lines[*place.key]) : Line{};
    if (line.hasValue)
        return CutUtf8(line.value, kMaxValueBytes);
    // The default loses its trailing spaces, as the profile API's does.
    std::string_view fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.remove_suffix(1);
    return CutUtf8(fallback, kMaxValueBytes);
}

bool IniFileStore::Write(const std::string& section, const std::string& key, const std::string& value,
                         const std::string& path) {
    std::vector<std::string> lines = ReadLines(path);
    const Place place = Find(lines, section, key);
    if (!place.section) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else if (place.key) {
        lines[*place.key] = std::string(Parse(lines[*place.key]).name) + "=" + value;
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.lastKey + 1), key + "=" + value);
    }

    std::ostringstream text;
    for (const std::string& line : lines)
        text << line << "\r\n";

    const std::filesystem::path target = PathOf(path);
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    if (std::filesystem::exists(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return false;  // a read-only file keeps what it holds
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text.str();
        file.flush();
        if (!file) {
            file.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (!error)
        return true;
    std::filesystem::remove(temporary, error);
    return false;
}

bool IniFileStore::CanWrite(const std::string& path) {
    const std::filesystem::path file = PathOf(path);
    std::error_code error;
    const bool existed = std::filesystem::exists(file, error);
    const bool writable = std::ofstream(file, std::ios::binary | std::ios::app).good();
    if (writable && !existed)
        std::filesystem::remove(file, error);
    return writable;
}

void IniFileStore::StartFrom(const std::string& original, const std::string& path) {
    const std::filesystem::path file = PathOf(path);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (std::filesystem::copy_file(PathOf(original), file, std::filesystem::copy_options::skip_existing, error))
        std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                     error);
}

}  // namespace zelmora
