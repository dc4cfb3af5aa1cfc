#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/recent_lines.h"
#include "ui/form_description.h"

namespace zelmora {

class EventDispatch;

// A check box's state.
enum class CheckState { Unticked = 0, Ticked = 1, Greyed = 2 };

// The state of one control of a window. A value written from code that differs from the current one
// raises the control's event handler synchronously, nested inside the write, as a user's change does.
class Control {
public:
    Control(const ControlDescription& description, EventDispatch& dispatch);

    const ControlDescription& Description() const { return description_; }
    const char* Name() const { return description_.name; }

    // Text of a text box; caption of a label, button, check box or frame. A text box raises its change event.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);

    // Check box state. A change raises the click event.
    CheckState Value() const { return value_; }
    void SetValue(CheckState value);

    bool Visible() const { return description_.options.visible; }

    // Caret position of a text box.
    size_t SelStart() const { return selStart_; }
    void SetSelStart(size_t position);

    // List box lines, the latest of them (see RecentLines).
    const std::deque<std::string>& Items() const { return items_.Lines(); }
    uint64_t ItemsAdded() const { return itemsAdded_; }
    void AddItem(std::string line);

    // Timers: the host ticks an enabled timer every Interval() milliseconds by calling Tick().
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return description_.options.interval; }
    void Tick();

    // Called by the realization for a user's action on the control: a click on a button.
    void Click();

    // Mouse moves over a picture box: button, shift state, x and y in twips.
    using MouseMoveHandler = std::function<void(int16_t, int16_t, float, float)>;
    void BindMouseMove(MouseMoveHandler handler) { mouseMoveHandler_ = std::move(handler); }
    void MouseMove(int16_t button, int16_t shift, float x, float y);

    // The handler of the control's one event (change, click or tick).
    void Bind(std::function<void()> handler) { handler_ = std::move(handler); }
    // Told after every change of state, so a realization can mirror it.
    void Observe(std::function<void(const Control&)> observer) { observer_ = std::move(observer); }

private:
    void Raise();
    void Changed();

    const ControlDescription& description_;
    EventDispatch& dispatch_;
    std::string text_;
    CheckState value_ = CheckState::Unticked;
    bool enabled_ = false;
    size_t selStart_ = 0;
    RecentLines items_;
    uint64_t itemsAdded_ = 0;
    std::function<void()> handler_;
    MouseMoveHandler mouseMoveHandler_;
    std::function<void(const Control&)> observer_;
};

// A control as its kind offers it: an operation that the kind lacks (the text of a timer, the check state of a
// label) does not compile.
template <ControlKind kind>
class ControlOf {
    static constexpr bool kHasText =
        kind != ControlKind::Timer && kind != ControlKind::ListBox && kind != ControlKind::PictureBox;
    static constexpr bool kClickable =
        kind == ControlKind::CheckBox || kind == ControlKind::CommandButton || kind == ControlKind::Label;

public:
    explicit ControlOf(Control& control) : control_(control) {}

    const ControlDescription& Description() const { return control_.Description(); }
    // The handler of the kind's one event: a text box's change, a click, a timer's tick.
    template <typename Handler>
    void Bind(Handler&& handler) requires(kClickable || kind == ControlKind::TextBox || kind == ControlKind::Timer) {
        control_.Bind(std::forward<Handler>(handler));
    }

    const std::string& Text() const requires kHasText { return control_.Text(); }
    template <typename Text>
    void SetText(Text&& text) requires kHasText {
        control_.SetText(std::forward<Text>(text));
    }
    void Click() requires kClickable { control_.Click(); }

    CheckState Value() const requires(kind == ControlKind::CheckBox) { return control_.Value(); }
    void SetValue(CheckState value) requires(kind == ControlKind::CheckBox) { control_.SetValue(value); }

    size_t SelStart() const requires(kind == ControlKind::TextBox) { return control_.SelStart(); }
    void SetSelStart(size_t position) requires(kind == ControlKind::TextBox) { control_.SetSelStart(position); }

    const std::deque<std::string>& Items() const requires(kind == ControlKind::ListBox) { return control_.Items(); }
    template <typename Line>
    void AddItem(Line&& line) requires(kind == ControlKind::ListBox) {
        control_.AddItem(std::forward<Line>(line));
    }

    bool Enabled() const requires(kind == ControlKind::Timer) { return control_.Enabled(); }
    void SetEnabled(bool enabled) requires(kind == ControlKind::Timer) { control_.SetEnabled(enabled); }
    int Interval() const requires(kind == ControlKind::Timer) { return control_.Interval(); }
    void Tick() requires(kind == ControlKind::Timer) { control_.Tick(); }

    template <typename Handler>
    void BindMouseMove(Handler&& handler) requires(kind == ControlKind::PictureBox) {
        control_.BindMouseMove(std::forward<Handler>(handler));
    }
    void MouseMove(int16_t button, int16_t shift, float x, float y) requires(kind == ControlKind::PictureBox) {
        control_.MouseMove(button, shift, x, y);
    }

private:
    Control& control_;
};

using Frame = ControlOf<ControlKind::Frame>;
using PictureBox = ControlOf<ControlKind::PictureBox>;
using Timer = ControlOf<ControlKind::Timer>;
using ListBox = ControlOf<ControlKind::ListBox>;
using TextBox = ControlOf<ControlKind::TextBox>;
using CheckBox = ControlOf<ControlKind::CheckBox>;
using CommandButton = ControlOf<ControlKind::CommandButton>;
using Label = ControlOf<ControlKind::Label>;

// Runs event handlers. A failure that leaves the outermost handler is reported and the program goes on.
class EventDispatch {
public:
    explicit EventDispatch(std::function<void(const std::string&)> reportFailure)
        : reportFailure_(std::move(reportFailure)) {}

    void Run(const std::function<void()>& handler);
    // Runs what a message from the system sets off. The message may arrive inside a loop that a handler
    // opened (a message box, a pop-up menu, a modal window): its failure is reported here, as an outermost
    // handler's is, and never travels through the system's frames to the handler below.
    void Deliver(const std::function<void()>& message);

private:
    std::function<void(const std::string&)> reportFailure_;
    int depth_ = 0;
};

// The events of a window as a whole.
enum class FormEvent { Load, Resize, Unload, TaskbarCreated, ShowFromTray, WorkerNews };

// The controls and menu items of one window, made from its description.
class FormModel {
public:
    FormModel(const FormDescription& description, EventDispatch& dispatch);
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;
    ~FormModel();

    const FormDescription& Description() const { return description_; }
    // In the description's order.
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    // Menu items by their place in the description.
    void BindMenu(size_t item, std::function<void()> handler);
    void ClickMenu(size_t item);
    void BindFormEvent(FormEvent event, std::function<void()> handler);
    void RaiseFormEvent(FormEvent event);

    void ObserveCaption(std::function<void(const std::string&)> observer) { captionObserver_ = std::move(observer); }
    // Told when the model goes, so a realization that outlives it lets it be.
    void ObserveDestruction(std::function<void()> observer) { destructionObserver_ = std::move(observer); }

    EventDispatch& Dispatch() const { return dispatch_; }

private:
    const FormDescription& description_;
    EventDispatch& dispatch_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::function<void()>> menuHandlers_;
    std::array<std::function<void()>, static_cast<size_t>(FormEvent::WorkerNews) + 1> formHandlers_;
    std::function<void(const std::string&)> captionObserver_;
    std::function<void()> destructionObserver_;
};

// The model of one particular form, whose controls and menu items are named in the code: the names are
// checked against the form's description when the code compiles.
template <const FormDescription& form>
class DescribedForm : public FormModel {
public:
    explicit DescribedForm(EventDispatch& dispatch) : FormModel(form, dispatch) {}

    // The control of that name, as its kind offers it.
    template <FixedName name>
    auto Named() const {
        constexpr size_t index = IndexOf(form.controls, name.text);
        static_assert(index < form.controls.size(), "no control or menu item of that name in the form's description");
        return ControlOf<form.controls[index].kind>(*Controls()[index]);
    }
    void BindMenu(MenuName<form> item, std::function<void()> handler) {
        FormModel::BindMenu(item.Index(), std::move(handler));
    }
    void ClickMenu(MenuName<form> item) { FormModel::ClickMenu(item.Index()); }
};

}  // namespace zelmora
