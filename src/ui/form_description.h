#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelmora {

enum class ControlKind { Frame, PictureBox, Timer, ListBox, TextBox, CheckBox, CommandButton, Label };

struct FontSpec {
    const char* face;
    double points;
    int weight;
    int charset;
};

// 0x00BBGGRR colours; kDefaultColor leaves the platform's colour.
inline constexpr uint32_t kDefaultColor = 0xFFFFFFFF;
inline constexpr uint32_t kBlue = 0x00FF0000;
inline constexpr uint32_t kRed = 0x000000FF;

// One control of a window description. Geometry is in twips, relative to the container's client area.
struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* container;  // nullptr: the window itself
    int left, top, width, height;
    int tabIndex;       // -1 for controls without a place in the tab order
    const char* value;  // design-time text or caption
    int id;             // stable Win32 control ID
    uint32_t foreColor = kDefaultColor;
    const FontSpec* font = nullptr;
    bool visible = true;
    bool centred = false;
    bool multiLine = false;
    bool verticalScroll = false;
    int interval = 0;  // timers, in milliseconds
};

struct MenuSpec {
    const char* name;
    const char* caption;
    const char* parent;  // nullptr: the menu bar
    int id;              // command ID
};

struct FormSpec {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight;  // twips
    bool hasIcon;
    std::span<const ControlSpec> controls;  // creation order: containers before their contents
    std::span<const MenuSpec> menus;        // menu order within each level
};

const FormSpec& Form1Description();
const FormSpec& FAboutDescription();

const ControlSpec* FindControl(const FormSpec& form, std::string_view name);

}  // namespace zelmora
