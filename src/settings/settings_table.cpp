#include "settings/settings_table.h"

#include "base/number_text.h"

namespace zelmora {

int CheckStateOf(const std::string& stored) {
    if (stored == "1" || stored == "2")
        return stored[0] - '0';
    return 0;
}

std::string StoredNumber(const std::string& text) {
    return DecimalText(NumericValue(text));
}

}  // namespace zelmora
