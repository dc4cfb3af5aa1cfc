#include "settings/settings_table.h"

#include "base/number_text.h"

namespace zelmora {

int CheckStateOf(const std::string& stored) {
    if (stored == "1" || stored == "2")
        return stored[0] - '0';
    return 0;
}

std::string StoredText(const SettingKey& setting, const std::string& value) {
    switch (setting.form) {
        case StoredAs::CheckState:
            return DecimalText(CheckStateOf(value));
        case StoredAs::Number:
            return DecimalText(NumericValue(value));
        case StoredAs::Text:
            break;
    }
    return value;
}

}  // namespace zelmora
