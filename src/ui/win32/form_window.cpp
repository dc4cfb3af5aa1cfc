#include "ui/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "base/failure.h"
#include "base/win32_export.h"
#include "base/win32_text.h"

namespace zelmora {

namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

constexpr const wchar_t* kPictureClass = L"ZelmoraPicture";

// Picture boxes report mouse moves in twips at a fixed 15 twips per pixel, as the tray's notifications
// arrive there with the mouse message number in the low word of the position.
constexpr int kTwipsPerPixel = 15;

struct Style {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

Style StyleOf(const ControlDescription& control) {
    const ControlOptions& options = control.options;
    switch (control.kind) {
        case ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::PictureBox:
            return {kPictureClass, 0, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::TextBox:
            if (options.multiLine)
                return {L"EDIT",
                        ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_TABSTOP |
                            (options.verticalScroll ? static_cast<DWORD>(WS_VSCROLL) : 0),
                        WS_EX_CLIENTEDGE};
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_3STATE | WS_TABSTOP, 0};
        case ControlKind::CommandButton:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::Label:
            return {L"STATIC", static_cast<DWORD>(SS_NOTIFY | (options.centred ? SS_CENTER : SS_LEFT)), 0};
        case ControlKind::Timer:
            break;
    }
    throw Failure("no window for a timer");
}

// An elevated program still hears the shell's restart and a second start, which run without elevation.
// The filter is Vista's; earlier systems have no such barrier.
void AcceptFromAnyProcess(UINT message) {
    const auto filter =
        Export<BOOL(WINAPI*)(UINT, DWORD)>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter");
    if (filter)
        filter(message, 1);  // MSGFLT_ADD
}

HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, Icons icons, HWND owner)
    : instance_(instance),
      icons_(icons),
      owner_(owner),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      showRequest_(RegisterWindowMessageW(kShowMessage)) {
    AcceptFromAnyProcess(taskbarCreated_);
    AcceptFromAnyProcess(showRequest_);
    for (auto [name, procedure] : {std::pair<const wchar_t*, WNDPROC>{kClassName, Procedure},
                                   std::pair<const wchar_t*, WNDPROC>{kPictureClass, PictureProcedure}}) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        if (GetClassInfoExW(instance, name, &windowClass))
            continue;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }

    dpi_ = GetDeviceCaps(ScopedGetDC(nullptr), LOGPIXELSY);
    defaultFont_.Reset(MessageFont());
}

void FormWindow::Realize(FormModel& model) {
    model_ = &model;
    model.ObserveDestruction([this] { model_ = nullptr; });
    const FormDescription& description = model.Description();
    ScopedMenu menu = CreateMenus();
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT frame{0, 0, Pixels(description.clientWidth), Pixels(description.clientHeight)};
    AdjustWindowRectEx(&frame, style, menu.Get() != nullptr, 0);
    // A window without an icon of its own shows none.
    window_ = CreateWindowExW(icons_.large ? 0 : WS_EX_DLGMODALFRAME, kClassName, Widen(model.Caption()).c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner_,
                              menu.Get(), instance_, this);
    if (!window_)
        throw Failure("cannot create the window " + std::string(description.name));
    menu.Release();  // the window's now: it goes with the window
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_.large));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.small));
    CreateControls();

    model.ObserveCaption([this](const std::string& caption) { SetWindowTextW(window_, Widen(caption).c_str()); });
}

FormWindow::~FormWindow() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    if (model_) {
        for (const auto& control : model_->Controls())
            control->Observe(nullptr);
        model_->ObserveCaption(nullptr);
        model_->ObserveDestruction(nullptr);
    }
}

ScopedMenu FormWindow::CreateMenus() {
    const std::span<const MenuDescription> menus = model_->Description().menus;
    if (menus.empty())
        return {};
    ScopedMenu bar(CreateMenu());
    for (const MenuDescription& item : menus) {
        const bool hasItems = std::any_of(menus.begin(), menus.end(), [&](const MenuDescription& other) {
            return other.parent && std::string_view(other.parent) == item.name;
        });
        const HMENU parent = item.parent ? submenus_.at(item.parent) : bar.Get();
        const std::wstring caption = Widen(item.caption);
        if (hasItems) {
            const HMENU popup = CreatePopupMenu();
            submenus_[item.name] = popup;
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
        } else {
            AppendMenuW(parent, MF_STRING, static_cast<UINT_PTR>(item.id), caption.c_str());
        }
    }
    return bar;
}

POINT FormWindow::Origin(const ControlDescription& control) const {
    POINT origin{0, 0};
    for (const char* container = control.container; container;) {
        const ControlDescription* parent = FindControl(model_->Description(), container);
        origin.x += parent->left;
        origin.y += parent->top;
        container = parent->container;
    }
    return origin;
}

bool FormWindow::ShownWithContainers(const ControlDescription& control) const {
    for (const ControlDescription* current = &control; current;) {
        if (!current->options.visible)
            return false;
        current = current->container ? FindControl(model_->Description(), current->container) : nullptr;
    }
    return true;
}

// Every control is a child of the window, placed at its containers' offsets. Labels sit below the other
// controls and frames below everything, as windowless labels and containers do; within each layer the
// z-order, and with it the tab order, follows the description's tab positions. A new child goes below those
// made before it, so the controls are made in that order.
void FormWindow::CreateControls() {
    std::vector<Control*> ordered;
    for (const auto& control : model_->Controls()) {
        control->Observe([this](const Control& changed) { Mirror(changed); });
        byId_[control->Description().id] = control.get();
        if (control->Description().kind != ControlKind::Timer)
            ordered.push_back(control.get());
    }
    const auto layer = [](const ControlDescription& control) {
        return std::pair(control.kind == ControlKind::Frame   ? 2
                         : control.kind == ControlKind::Label ? 1
                                                              : 0,
                         control.tabIndex);
    };
    std::sort(ordered.begin(), ordered.end(),
              [&](const Control* a, const Control* b) { return layer(a->Description()) < layer(b->Description()); });
    for (const Control* control : ordered) {
        const ControlDescription& described = control->Description();
        const Style style = StyleOf(described);
        const POINT origin = Origin(described);
        const HWND child = CreateWindowExW(
            style.exStyle, style.className, Widen(control->Text()).c_str(),
            WS_CHILD | WS_CLIPSIBLINGS | style.style | (ShownWithContainers(described) ? WS_VISIBLE : 0),
            Pixels(origin.x + described.left), Pixels(origin.y + described.top), Pixels(described.width),
            Pixels(described.height), window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(described.id)), instance_,
            nullptr);
        if (!child)
            throw Failure("cannot create the control " + std::string(described.name));
        HFONT font = defaultFont_.Get();
        if (const FontDescription* face = described.options.font) {
            auto [entry, added] = fonts_.try_emplace(face);
            if (added) {
                entry->second.Reset(CreateFontW(-MulDiv(static_cast<int>(face->points * 10), dpi_, 720), 0, 0, 0,
                                                face->weight, FALSE, FALSE, FALSE, static_cast<DWORD>(face->charset),
                                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                                Widen(face->face).c_str()));
            }
            font = entry->second.Get();
        }
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (described.kind == ControlKind::Frame && EdgeLabel(described)) {
            frameProcedure_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProcedure)));
        }
    }
}

// A label may sit on its frame's top edge beside the caption: the countdown on its frame.
const ControlDescription* FormWindow::EdgeLabel(const ControlDescription& frame) const {
    for (const ControlDescription& label : model_->Description().controls) {
        if (label.kind == ControlKind::Label && label.top == 0 && label.container &&
            std::string_view(label.container) == frame.name)
            return &label;
    }
    return nullptr;
}

// The frame's line stops short of its edge label as it stops short of its caption. The label paints its own
// background over the line; the frame paints as a frame does, then the line between its caption and the label
// as background. The caption starts where the system's group boxes draw it.
LRESULT CALLBACK FormWindow::FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(GetParent(frame), GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(frame, message, wParam, lParam);
    const LRESULT result = CallWindowProcW(self->frameProcedure_, frame, message, wParam, lParam);
    if (message == WM_PAINT && self->model_)
        self->model_->Dispatch().Deliver([&] { self->ClearLineBeforeLabel(frame); });
    return result;
}

void FormWindow::ClearLineBeforeLabel(HWND frame) {
    constexpr int kCaptionInset = 7;
    const auto found = byId_.find(GetDlgCtrlID(frame));
    const ControlDescription* label = found == byId_.end() ? nullptr : EdgeLabel(found->second->Description());
    if (!label)
        return;
    RECT labelRect{};
    GetWindowRect(ControlHandle(*label), &labelRect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&labelRect), 2);
    const std::wstring caption = WindowText(frame);
    const ScopedGetDC dc(frame);
    const ScopedSelectObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    SIZE extent{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    GetTextMetricsW(dc, &metrics);
    const RECT line{kCaptionInset + extent.cx, metrics.tmHeight / 2 - 2, labelRect.left, metrics.tmHeight / 2 + 2};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
}

void FormWindow::Mirror(const Control& control) {
    const ControlDescription& described = control.Description();
    if (described.kind == ControlKind::Timer) {
        if (control.Enabled())
            SetTimer(window_, static_cast<UINT_PTR>(described.id), static_cast<UINT>(control.Interval()), nullptr);
        else
            KillTimer(window_, static_cast<UINT_PTR>(described.id));
        return;
    }
    const HWND child = ControlHandle(described);
    if (!child)
        return;
    mirroring_ = true;
    const std::wstring text = Widen(control.Text());
    if (described.kind != ControlKind::ListBox && WindowText(child) != text)
        SetWindowTextW(child, text.c_str());
    if (described.kind == ControlKind::CheckBox) {
        const WPARAM state = control.Value() == CheckState::Ticked   ? BST_CHECKED
                             : control.Value() == CheckState::Greyed ? BST_INDETERMINATE
                                                                     : BST_UNCHECKED;
        SendMessageW(child, BM_SETCHECK, state, 0);
    }
    if (described.kind == ControlKind::TextBox && described.options.multiLine) {
        // The caret is kept in characters of the window's text.
        const std::wstring before = Widen(control.Text().substr(0, control.SelStart()));
        SendMessageW(child, EM_SETSEL, before.size(), static_cast<LPARAM>(before.size()));
        SendMessageW(child, EM_SCROLLCARET, 0, 0);
    }
    if (described.kind == ControlKind::ListBox && control.ItemsAdded() > itemsMirrored_[described.id]) {
        itemsMirrored_[described.id] = control.ItemsAdded();
        SendMessageW(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(control.Items().back()).c_str()));
        while (static_cast<size_t>(SendMessageW(child, LB_GETCOUNT, 0, 0)) > control.Items().size())
            SendMessageW(child, LB_DELETESTRING, 0, 0);
    }
    ShowWindow(child, ShownWithContainers(described) ? SW_SHOWNA : SW_HIDE);
    mirroring_ = false;
}

void FormWindow::OnCommand(int id, int code) {
    const std::span<const MenuDescription> menus = model_->Description().menus;
    for (size_t item = 0; item < menus.size(); ++item) {
        if (menus[item].id == id && code == 0) {
            model_->ClickMenu(item);
            return;
        }
    }
    const auto found = byId_.find(id);
    if (found == byId_.end() || mirroring_)
        return;
    Control& control = *found->second;
    switch (control.Description().kind) {
        case ControlKind::TextBox:
            if (code == EN_CHANGE)
                control.SetText(Narrow(WindowText(ControlHandle(control.Description()))));
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED)
                control.SetValue(control.Value() == CheckState::Ticked ? CheckState::Unticked : CheckState::Ticked);
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED)
                control.Click();
            break;
        case ControlKind::Label:
            if (code == STN_CLICKED)
                control.Click();
            break;
        default:
            break;
    }
}

HBRUSH FormWindow::OnColour(HDC dc, HWND child, bool edit) {
    const auto found = byId_.find(GetDlgCtrlID(child));
    if (found != byId_.end() && found->second->Description().options.foreColor != kDefaultColor)
        SetTextColor(dc, found->second->Description().options.foreColor);
    const int background = edit ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(background));
    return GetSysColorBrush(background);
}

void FormWindow::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

WindowState FormWindow::State() {
    return IsIconic(window_)   ? WindowState::Minimised
           : IsZoomed(window_) ? WindowState::Maximised
                               : WindowState::Normal;
}

void FormWindow::SetState(WindowState state) {
    ShowWindow(window_, state == WindowState::Minimised   ? SW_MINIMIZE
                        : state == WindowState::Maximised ? SW_MAXIMIZE
                                                          : SW_RESTORE);
}

void FormWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void FormWindow::Show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

// As tray programs do: the window comes to the foreground first, so the menu closes on a click elsewhere.
void FormWindow::PopupMenu(const MenuDescription& menu) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(window_);
    TrackPopupMenu(submenus_.at(menu.name), TPM_LEFTALIGN, cursor.x, cursor.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
}

uint32_t FormWindow::WindowHandle(const ControlDescription& control) {
    const HWND handle = ControlHandle(control);
    if (!handle)
        throw Failure(std::string("no window for ") + control.name);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

uint32_t FormWindow::PictureHandle(const ControlDescription& control) {
    if (!ControlHandle(control) || !control.options.programIcon || !icons_.small)
        throw Failure(std::string("no picture in ") + control.name);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icons_.small));
}

std::optional<int> FormWindow::RunMessages() {
    MSG message;
    while (IsWindow(window_)) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0)
            return static_cast<int>(message.wParam);
        if (IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return std::nullopt;
}

// Input to this window waits while the other one is open; its timers keep ticking.
void FormWindow::ShowModal(FormModel& form) {
    FormWindow modal(instance_, {}, window_);
    modal.Realize(form);
    form.RaiseFormEvent(FormEvent::Load);
    EnableWindow(window_, FALSE);
    ShowWindow(modal.Handle(), SW_SHOWNORMAL);
    // A WM_QUIT meanwhile is left for the main window's loop.
    if (const std::optional<int> quit = modal.RunMessages())
        PostQuitMessage(*quit);
    EnableWindow(window_, TRUE);
    SetForegroundWindow(window_);
}

LRESULT CALLBACK FormWindow::PictureProcedure(HWND picture, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(GetParent(picture), GWLP_USERDATA));
    if (!self || !self->model_ || (message != WM_MOUSEMOVE && message != WM_PAINT))
        return DefWindowProcW(picture, message, wParam, lParam);
    self->model_->Dispatch().Deliver([&] { self->PaintOrMove(picture, message, wParam, lParam); });
    return 0;
}

// Mouse moves are reported in twips; a picture box may show the program's icon.
void FormWindow::PaintOrMove(HWND picture, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = byId_.find(GetDlgCtrlID(picture));
    if (message == WM_PAINT) {
        const ScopedPaint dc(picture);
        if (icons_.large && found != byId_.end() && found->second->Description().options.programIcon)
            DrawIconEx(dc, 0, 0, icons_.large, 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    if (found == byId_.end())
        return;
    const auto button = static_cast<int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                             ((wParam & MK_MBUTTON) ? 4 : 0));
    const auto shift = static_cast<int16_t>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0));
    found->second->MouseMove(button, shift, static_cast<float>(LOWORD(lParam) * kTwipsPerPixel),
                             static_cast<float>(HIWORD(lParam) * kTwipsPerPixel));
}

// Every message goes through the model's dispatch, so no failure leaves the window procedure; once the model
// is gone the window only does what every window does.
LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->model_)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    self->model_->Dispatch().Deliver([&] { result = self->Handle(message, wParam, lParam); });
    return result;
}

// Closing the window and the end of the session both unload it, once.
void FormWindow::Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    model_->RaiseFormEvent(FormEvent::Unload);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (const auto found = byId_.find(static_cast<int>(wParam)); found != byId_.end())
                found->second->Tick();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT: {
            const auto child = reinterpret_cast<HWND>(lParam);
            return reinterpret_cast<LRESULT>(
                OnColour(reinterpret_cast<HDC>(wParam), child, message == WM_CTLCOLOREDIT));
        }
        case WM_SIZE:
            model_->RaiseFormEvent(FormEvent::Resize);
            break;
        case kWorkerNews:
            model_->RaiseFormEvent(FormEvent::WorkerNews);
            return 0;
        case WM_CLOSE:
            Unload();
            DestroyWindow(window_);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // Log-off, restart and shutdown, and an installer closing the program (ENDSESSION_CLOSEAPP): the
            // program unloads and ends, as Exit does.
            if (wParam) {
                Unload();
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            for (const auto& control : model_->Controls()) {
                if (control->Description().kind == ControlKind::Timer)
                    KillTimer(window_, static_cast<UINT_PTR>(control->Description().id));
            }
            if (!owner_)
                PostQuitMessage(0);
            return 0;
        default:
            if (message == taskbarCreated_)
                model_->RaiseFormEvent(FormEvent::TaskbarCreated);
            if (message == showRequest_)
                model_->RaiseFormEvent(FormEvent::ShowFromTray);
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace zelmora
