#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/win32_scopes.h"
#include "ui/form_model.h"
#include "ui/window_host.h"

namespace zelmora {

// A window realized from a form's description. It mirrors every change of the model into its controls
// and turns the user's input into writes to the model, which raise the handlers. It is made in two steps,
// so the form's handlers can hold it as their window before it is realized.
class FormWindow : public WindowHost {
public:
    // The window's icon at the two sizes the system shows; the small one is also the picture boxes' icon,
    // which the tray shows. A window without icons shows none.
    struct Icons {
        HICON large = nullptr;
        HICON small = nullptr;
    };

    // A window with an owner is a modal second window: closing it does not end the program. Either the window
    // or its model may go first.
    FormWindow(HINSTANCE instance, Icons icons, HWND owner = nullptr);
    void Realize(FormModel& model);
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    ~FormWindow() override;

    void Close() override;
    WindowState State() override;
    void SetState(WindowState state) override;
    void Hide() override;
    void Show() override;
    void PopupMenu(const MenuDescription& menu) override;
    uint32_t WindowHandle(const ControlDescription& control) override;
    uint32_t PictureHandle(const ControlDescription& control) override;
    void ShowModal(FormModel& form) override;

    // From any thread: has the window's thread raise the form's WorkerNews event; false where the message could not
    // be posted (a full queue).
    bool Wake() { return PostMessageW(window_, kWorkerNews, 0, 0) != FALSE; }

    HWND Handle() const { return window_; }
    // Runs the thread's messages, with the dialog keys of this window, while it exists. Returns the code of a
    // WM_QUIT that came first.
    std::optional<int> RunMessages();
    HWND ControlHandle(const ControlDescription& control) const { return GetDlgItem(window_, control.id); }

    static constexpr const wchar_t* kClassName = L"ZelmoraForm";
    // Posted to a main window to bring it back from the tray, as a double click on the icon does.
    static constexpr const wchar_t* kShowMessage = L"Zelmora.ShowFromTray";

private:
    static constexpr UINT kWorkerNews = WM_APP + 1;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PictureProcedure(HWND picture, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Unload();
    void PaintOrMove(HWND picture, UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    ScopedMenu CreateMenus();
    void Mirror(const Control& control);
    const ControlDescription* EdgeLabel(const ControlDescription& frame) const;
    void ClearLineBeforeLabel(HWND frame);
    void OnCommand(int id, int code);
    HBRUSH OnColour(HDC dc, HWND control, bool edit);
    int Pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    POINT Origin(const ControlDescription& control) const;
    bool ShownWithContainers(const ControlDescription& control) const;

    FormModel* model_ = nullptr;
    HINSTANCE instance_;
    Icons icons_;
    HWND owner_;
    UINT taskbarCreated_;
    UINT showRequest_;
    bool unloaded_ = false;
    HWND window_ = nullptr;
    WNDPROC frameProcedure_ = nullptr;  // the group boxes' own, under a frame with an edge label
    int dpi_ = 96;
    ScopedGdiObj<HFONT> defaultFont_;
    std::map<const FontDescription*, ScopedGdiObj<HFONT>> fonts_;
    std::map<int, Control*> byId_;
    std::map<std::string_view, HMENU> submenus_;  // by menu name
    std::map<int, uint64_t> itemsMirrored_;
    bool mirroring_ = false;  // a write to a control from the model is not user input
};

}  // namespace zelmora
