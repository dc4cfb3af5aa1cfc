#include "settings/startup_link.h"

namespace zelmora {

std::string StartupLinkPath(Shortcuts& shortcuts, const std::string& fixedProfile) {
    const std::string fixedFolder = fixedProfile + "\\「开始」菜单\\程序\\启动";
    if (!fixedProfile.empty() && shortcuts.FolderExists(fixedFolder))
        return fixedFolder + "\\Zelmora.lnk";
    return shortcuts.StartupFolder() + "\\Zelmora.lnk";
}

void MakeShortcut(Shortcuts& shortcuts, const std::string& path, const std::string& programDirectory) {
    shortcuts.Save(path, programDirectory + "\\Zelmora.exe", "ALT+CTRL+C");
}

void RemoveShortcut(Shortcuts& shortcuts, const std::string& path) {
    if (shortcuts.Exists(path))
        shortcuts.Delete(path);
}

}  // namespace zelmora
