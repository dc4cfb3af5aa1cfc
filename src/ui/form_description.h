#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zelmora {

enum class ControlKind { Frame, PictureBox, Timer, ListBox, TextBox, CheckBox, CommandButton, Label };

struct FontDescription {
    const char* face;
    double points;
    int weight;
    int charset;
};

// 0x00BBGGRR colours; kDefaultColor leaves the platform's colour.
inline constexpr uint32_t kDefaultColor = 0xFFFFFFFF;
inline constexpr uint32_t kBlue = 0x00FF0000;
inline constexpr uint32_t kRed = 0x000000FF;

// What sets a control apart from the platform's defaults, beyond its place and value.
struct ControlOptions {
    uint32_t foreColor = kDefaultColor;
    const FontDescription* font = nullptr;
    bool visible = true;
    bool centred = false;
    bool multiLine = false;
    bool verticalScroll = false;
    bool programIcon = false;  // a picture box whose picture is the program's icon
    int interval = 0;          // timers, in milliseconds
};

// One control of a window description. Geometry is in twips, relative to the container's client area.
struct ControlDescription {
    const char* name;
    ControlKind kind;
    const char* container;  // nullptr: the window itself
    int left, top, width, height;
    int tabIndex;       // -1 for controls without a place in the tab order
    const char* value;  // design-time text or caption
    int id;             // stable Win32 control ID
    ControlOptions options = {};
};

struct MenuDescription {
    const char* name;
    const char* caption;
    const char* parent;  // nullptr: the menu bar
    int id;              // command ID
};

struct FormDescription {
    const char* name;
    const char* caption;
    int clientWidth, clientHeight;                 // twips
    std::span<const ControlDescription> controls;  // creation order: containers before their contents
    std::span<const MenuDescription> menus;        // menu order within each level
};

// The position of the entry of that name, or entries.size() where there is none.
template <typename Entry>
constexpr size_t IndexOf(std::span<const Entry> entries, std::string_view name) {
    size_t index = 0;
    while (index < entries.size() && name != entries[index].name)
        ++index;
    return index;
}

constexpr const ControlDescription* FindControl(const FormDescription& form, std::string_view name) {
    const size_t index = IndexOf(form.controls, name);
    return index < form.controls.size() ? &form.controls[index] : nullptr;
}

// Every container and menu parent names an entry made before it: checked where a description is defined.
constexpr bool ContainersComeFirst(const FormDescription& form) {
    for (size_t i = 0; i < form.controls.size(); ++i) {
        const char* container = form.controls[i].container;
        if (container && IndexOf(form.controls.first(i), container) == i)
            return false;
    }
    for (size_t i = 0; i < form.menus.size(); ++i) {
        const char* parent = form.menus[i].parent;
        if (parent && IndexOf(form.menus.first(i), parent) == i)
            return false;
    }
    return true;
}

// A control or menu item of a described form, named in the code. The name is looked up in the description
// when the code compiles: a name the form does not have is a compile error.
template <const FormDescription& form, auto entries>
class DescribedName {
public:
    consteval DescribedName(const char* name) : index_(IndexOf(form.*entries, name)) {
        if (index_ == (form.*entries).size())
            throw "no control or menu item of that name in the form's description";
    }
    size_t Index() const { return index_; }
    const auto& Description() const { return (form.*entries)[index_]; }

private:
    size_t index_;
};

template <const FormDescription& form>
using ControlName = DescribedName<form, &FormDescription::controls>;

// A name as a template argument, for what the name decides when the code compiles: the kind of control it names.
template <size_t size>
struct FixedName {
    consteval FixedName(const char (&name)[size]) { std::copy_n(name, size, text); }
    char text[size];
};
template <const FormDescription& form>
using MenuName = DescribedName<form, &FormDescription::menus>;

}  // namespace zelmora
