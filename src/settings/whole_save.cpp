#include "settings/whole_save.h"

namespace zelmora {

namespace {

// While another program holds the file, the rename is tried again after each pause: half a second in all.
constexpr uint32_t kPausesMs[] = {10, 20, 40, 80, 150, 200};

bool ReplaceWithin(SaveFiles& files, const std::string& from, const std::string& to) {
    FileOutcome outcome = files.Replace(from, to);
    for (const uint32_t pause : kPausesMs) {
        if (outcome != FileOutcome::Busy)
            break;
        files.Pause(pause);
        outcome = files.Replace(from, to);
    }
    return outcome == FileOutcome::Done;
}

}  // namespace

std::string SaveCopyOf(const std::string& path) {
    return path + ".new";
}

bool SaveWhole(SaveFiles& files, const std::vector<StoredValue>& values, const std::string& path) {
    switch (files.KindOf(path)) {
        case SettingsFileKind::Unwritable:
            return false;
        case SettingsFileKind::Linked:
            return files.Write(values, path);
        case SettingsFileKind::Missing:
        case SettingsFileKind::Plain:
            break;
    }
    const std::string copy = SaveCopyOf(path);
    const FileOutcome copied = files.Copy(path, copy);
    if (copied == FileOutcome::Refused)
        return files.Write(values, path);
    const bool saved = copied == FileOutcome::Done && files.Write(values, copy) && files.Flush(copy) &&
                       ReplaceWithin(files, copy, path);
    if (!saved)
        files.Remove(copy);
    return saved;
}

void CopyWhole(SaveFiles& files, const std::string& from, const std::string& to) {
    if (files.KindOf(to) != SettingsFileKind::Missing || files.KindOf(from) == SettingsFileKind::Missing)
        return;
    const std::string copy = SaveCopyOf(to);
    if (files.Copy(from, copy) != FileOutcome::Done || !files.Flush(copy) || !ReplaceWithin(files, copy, to))
        files.Remove(copy);
}

}  // namespace zelmora
