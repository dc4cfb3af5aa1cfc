#include "ui/form1.h"

namespace zelmora {

void Form1::CLoad_Click() {
    const bool wanted = CLoad.Value() == 1;
    try {
        MakeStartupLink(wanted ? LinkMode::Make : LinkMode::del);
    } catch (...) {
        Lb1.SetText(wanted ? "无法写入开机自动启动的快捷方式！" : "无法删除开机自动启动的快捷方式！");
    }
}

// The old fixed Startup folder where the profile folder it is in is the user's own and the folder exists
// (Simplified Chinese systems of that age), otherwise the user's real Startup folder.
std::string Form1::StartupLinkPath() {
    const std::string fixedFolder = userFolders_.fixedProfile + "\\「开始」菜单\\程序\\启动";
    if (!userFolders_.fixedProfile.empty() && services_.shortcuts.FolderExists(fixedFolder))
        return fixedFolder + "\\Zelmora.lnk";
    return services_.shortcuts.StartupFolder() + "\\Zelmora.lnk";
}

void Form1::MakeStartupLink(LinkMode mode) {
    const std::string path = StartupLinkPath();
    if (mode == LinkMode::del) {
        if (services_.shortcuts.Exists(path))
            services_.shortcuts.Delete(path);
        return;
    }
    services_.shortcuts.Save(path, services_.system.ProgramDirectory() + "\\Zelmora.exe", "ALT+CTRL+C");
}

}  // namespace zelmora
