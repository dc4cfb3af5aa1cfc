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

    // Check box state: 0 unticked, 1 ticked, 2 greyed. A change raises the click event.
    int Value() const { return value_; }
    void SetValue(int value);

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
    int value_ = 0;
    bool enabled_ = false;
    size_t selStart_ = 0;
    RecentLines items_;
    uint64_t itemsAdded_ = 0;
    std::function<void()> handler_;
    MouseMoveHandler mouseMoveHandler_;
    std::function<void(const Control&)> observer_;
};

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

    Control& operator[](ControlName<form> name) const { return *Controls()[name.Index()]; }
    void BindMenu(MenuName<form> item, std::function<void()> handler) {
        FormModel::BindMenu(item.Index(), std::move(handler));
    }
    void ClickMenu(MenuName<form> item) { FormModel::ClickMenu(item.Index()); }
};

}  // namespace zelmora
