#include "ui/form1.h"

namespace zelmora {

std::string Form1::ReadWriteIni(const std::string& section, const std::string& key, const std::string& value,
                                IniMode mode) {
    if (mode == IniMode::Read)
        return services_.settings.Read(section, key, value, IniPath);
    if (!services_.settings.Write(section, key, value, IniPath) && !settingsWriteFailed_) {
        settingsWriteFailed_ = true;  // said once: every later write would fail the same way
        Lb1.SetText("无法写入设置文件：" + IniPath);
    }
    return {};
}

// Beside the program where its folder lets the settings be written there; otherwise in the user's own
// application data, started from those beside the program. Where neither can be written, the settings are
// still read from beside the program.
std::string Form1::SettingsPath() {
    const std::string beside = services_.system.ProgramDirectory() + "\\Config.ini";
    if (services_.settings.CanWrite(beside) || userFolders_.appData.empty())
        return beside;
    const std::string own = userFolders_.appData + "\\Zelmora\\Config.ini";
    services_.settings.StartFrom(beside, own);
    return services_.settings.CanWrite(own) ? own : beside;
}

}  // namespace zelmora
