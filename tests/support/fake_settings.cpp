#include "fake_settings.h"

namespace zelmora::testing {

std::string RecordingSettings::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& file) {
    path = file;
    auto found = values.find(section + "/" + key);
    return found == values.end() ? defaultValue : found->second;
}

bool RecordingSettings::Save(const std::vector<StoredValue>& saved, const std::string& file) {
    path = file;
    if (unwritable.contains(path) || failingSaves > 0) {
        --failingSaves;
        return false;
    }
    saves.emplace_back();
    for (const StoredValue& stored : saved) {
        values[stored.section + "/" + stored.key] = stored.value;
        saves.back().push_back(stored.section + "/" + stored.key + "=" + stored.value);
        writes.push_back(saves.back().back());
    }
    return true;
}

}  // namespace zelmora::testing
