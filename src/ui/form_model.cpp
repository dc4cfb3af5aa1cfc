#include "ui/form_model.h"

#include <algorithm>
#include <utility>

namespace zelmora {

Control::Control(const ControlDescription& description, EventDispatch& dispatch)
    : description_(description), dispatch_(dispatch), text_(description.value) {}

void Control::SetText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    selStart_ = std::min(selStart_, text_.size());
    Changed();
    if (description_.kind == ControlKind::TextBox)
        Raise();
}

void Control::SetValue(CheckState value) {
    if (value == value_)
        return;
    value_ = value;
    Changed();
    if (description_.kind == ControlKind::CheckBox)
        Raise();
}

void Control::SetSelStart(size_t position) {
    selStart_ = std::min(position, text_.size());
    Changed();
}

void Control::AddItem(std::string line) {
    items_.Add(std::move(line));
    ++itemsAdded_;
    Changed();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed();
}

void Control::Tick() {
    if (enabled_)
        Raise();
}

void Control::Click() {
    Raise();
}

void Control::MouseMove(int16_t button, int16_t shift, float x, float y) {
    if (mouseMoveHandler_)
        dispatch_.Run([&] { mouseMoveHandler_(button, shift, x, y); });
}

void Control::Raise() {
    if (handler_)
        dispatch_.Run(handler_);
}

void Control::Changed() {
    if (observer_)
        observer_(*this);
}

void EventDispatch::Deliver(const std::function<void()>& message) {
    struct Outermost {
        int& depth;
        int outer;
        explicit Outermost(int& d) : depth(d), outer(std::exchange(d, 0)) {}
        ~Outermost() { depth = outer; }
    } outermost(depth_);
    Run(message);
}

void EventDispatch::Run(const std::function<void()>& handler) {
    if (depth_ > 0) {
        handler();  // nested: a failure travels up to the outermost handler
        return;
    }
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
    } guard(depth_);
    try {
        handler();
    } catch (const std::exception& failure) {
        reportFailure_(failure.what());
    } catch (...) {
        reportFailure_("unknown failure");
    }
}

FormModel::FormModel(const FormDescription& description, EventDispatch& dispatch)
    : description_(description),
      dispatch_(dispatch),
      caption_(description.caption),
      menuHandlers_(description.menus.size()) {
    for (const ControlDescription& control : description.controls)
        controls_.push_back(std::make_unique<Control>(control, dispatch));
}

FormModel::~FormModel() {
    if (destructionObserver_)
        destructionObserver_();
}

void FormModel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (captionObserver_)
        captionObserver_(caption_);
}

void FormModel::BindMenu(size_t item, std::function<void()> handler) {
    menuHandlers_.at(item) = std::move(handler);
}

void FormModel::ClickMenu(size_t item) {
    if (menuHandlers_.at(item))
        dispatch_.Run(menuHandlers_[item]);
}

void FormModel::BindFormEvent(FormEvent event, std::function<void()> handler) {
    formHandlers_.at(static_cast<size_t>(event)) = std::move(handler);
}

void FormModel::RaiseFormEvent(FormEvent event) {
    const std::function<void()>& handler = formHandlers_.at(static_cast<size_t>(event));
    if (handler)
        dispatch_.Run(handler);
}

}  // namespace zelmora
