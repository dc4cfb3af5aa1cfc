#pragma once

#include <cstdint>

#include "ui/form_description.h"

namespace zelmora {

class FormModel;

enum class WindowState { Normal, Minimised, Maximised };

// What the main window's handlers ask of the window itself, beyond its controls.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Closes the window as its close box does: the unload sequence runs, then the program ends.
    virtual void Close() = 0;

    virtual WindowState State() = 0;
    virtual void SetState(WindowState state) = 0;
    // Hides the window, taskbar button included.
    virtual void Hide() = 0;
    // Makes the window visible and active.
    virtual void Show() = 0;
    // Pops up a menu of the menu bar at the mouse pointer.
    virtual void PopupMenu(const MenuDescription& menu) = 0;

    // Realizes another window from its model, raises its load event and shows it modally: the call returns
    // when the user has closed it. Timers keep ticking meanwhile.
    virtual void ShowModal(FormModel& form) = 0;

    // Handles as the shell sees them: a control's window and the icon a picture box holds.
    virtual uint32_t WindowHandle(const ControlDescription& control) = 0;
    virtual uint32_t PictureHandle(const ControlDescription& control) = 0;
};

}  // namespace zelmora
