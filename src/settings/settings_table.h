#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// How a setting is kept in the file.
enum class StoredAs {
    CheckState,  // a check box's state, as CheckStateOf reads it
    Number,      // a number as its decimal text, read back as the text the file holds
    Text,        // a text unchanged
};

struct SettingKey {
    const char* section;
    const char* key;
    const char* defaultValue;  // read where the file, the section or the key is missing
    StoredAs form;
};

// Config.ini: its two sections and six keys. Users carry the file from version to version and edit it by hand,
// so none of this changes.
// clang-format off
inline constexpr SettingKey kSettingKeys[] = {
    {"Auto", "Del",   "10", StoredAs::CheckState},  // auto clear (CDel); the 10 offered reads as 0
    {"Auto", "Time",  "1",  StoredAs::Number},      // the interval in minutes (TDel)
    {"Auto", "ALoad", "1",  StoredAs::CheckState},  // start at log-on (CLoad)
    {"Cls",  "TGB",   "0",  StoredAs::Text},        // the freed-space total, whole GB
    {"Cls",  "TMB",   "0",  StoredAs::Text},        // whole MB
    {"Cls",  "TKB",   "0",  StoredAs::Text},        // whole KB
};
// clang-format on

// A key of the table, named in the code: a key the table lacks is a compile error.
consteval const SettingKey& Setting(std::string_view key) {
    for (const SettingKey& setting : kSettingKeys) {
        if (key == setting.key)
            return setting;
    }
    throw "no setting of that key in the settings table";
}

// A stored check box state: 0, 1 or 2; anything else counts as 0.
int CheckStateOf(const std::string& stored);
// The text the file keeps for a value, by the setting's form: a check state as CheckStateOf reads it, a number as its
// numeric value's decimal text, a text unchanged.
std::string StoredText(const SettingKey& setting, const std::string& value);

}  // namespace zelmora
