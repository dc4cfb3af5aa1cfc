#include "ui/form1.h"

namespace zelmora {

std::string Form1::ReadWriteIni(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& mode) {
    if (mode == "Read")
        return services_.settings.Read(section, key, value, IniPath);
    if (mode == "Write")
        services_.settings.Write(section, key, value, IniPath);
    return {};
}

}  // namespace zelmora
