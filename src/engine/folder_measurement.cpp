#include <limits>
#include <string>

#include "base/failure.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

int32_t CheckedAdd(int32_t total, int64_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    if (sum > std::numeric_limits<int32_t>::max() || sum < std::numeric_limits<int32_t>::min())
        throw Failure("size past 2,147,483,647 bytes");
    return static_cast<int32_t>(sum);
}

}  // namespace

int32_t Form1::FolderlenRec(const std::string& path) {
    return MeasureLevel(path, nullptr);
}

// One level of the walk. The folder is opened relative to its parent's open folder, so a folder swapped
// for a link while the walk runs is refused rather than followed.
int32_t Form1::MeasureLevel(const std::string& path, const Folder* parent) {
    try {
        if (!Fso->Exists(CachePath))
            return 0;
        const std::unique_ptr<Folder> folder =
            parent ? parent->OpenSubFolder(path.substr(path.rfind('\\') + 1)) : Fso->GetFolder(path);
        int32_t total = 0;
        for (const FileEntry& file : folder->Files())
            total = CheckedAdd(total, file.length);
        for (const std::string& name : folder->SubFolders())
            total = CheckedAdd(total, MeasureLevel(path + "\\" + name, folder.get()));
        List1.AddItem(path + (total < 0 ? "" : " ") + std::to_string(total) + "Byte");
        return total;
    } catch (...) {
        services_.messages.Show("文件大于2G！");
        return 0;
    }
}

}  // namespace zelmora
