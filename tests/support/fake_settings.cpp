#include "fake_settings.h"

namespace zelmora::testing {

std::string RecordingSettings::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& file) {
    path = file;
    auto found = values.find(section + "/" + key);
    return found == values.end() ? defaultValue : found->second;
}

bool RecordingSettings::Write(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& file) {
    path = file;
    if (unwritable.contains(path))
        return false;
    values[section + "/" + key] = value;
    writes.push_back(section + "/" + key + "=" + value);
    return true;
}

}  // namespace zelmora::testing
