#include "ui/form_model.h"

#include <utility>

#include "base/failure.h"

namespace zelmora {

Control::Control(const ControlSpec& spec, EventDispatch& dispatch)
    : spec_(spec), dispatch_(dispatch), text_(spec.value), visible_(spec.visible) {}

void Control::SetText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    selStart_ = std::min(selStart_, text_.size());
    Changed();
    if (spec_.kind == ControlKind::TextBox)
        Raise();
}

void Control::SetValue(int value) {
    if (value == value_)
        return;
    value_ = value;
    Changed();
    if (spec_.kind == ControlKind::CheckBox)
        Raise();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed();
}

void Control::SetSelStart(size_t position) {
    selStart_ = std::min(position, text_.size());
    Changed();
}

void Control::AddItem(std::string line) {
    items_.push_back(std::move(line));
    ++itemsAdded_;
    if (items_.size() > kMaxListLines)
        items_.pop_front();
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

FormModel::FormModel(const FormSpec& spec, EventDispatch& dispatch)
    : spec_(spec), dispatch_(dispatch), caption_(spec.caption) {
    for (const ControlSpec& control : spec.controls)
        controls_.push_back(std::make_unique<Control>(control, dispatch));
}

FormModel::~FormModel() {
    if (destructionObserver_)
        destructionObserver_();
}

Control& FormModel::operator[](std::string_view name) {
    for (auto& control : controls_) {
        if (name == control->Name())
            return *control;
    }
    throw Failure("no control " + std::string(name) + " in " + spec_.name);
}

void FormModel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (captionObserver_)
        captionObserver_(caption_);
}

void FormModel::BindMenu(std::string_view name, std::function<void()> handler) {
    menuHandlers_[std::string(name)] = std::move(handler);
}

void FormModel::ClickMenu(std::string_view name) {
    auto found = menuHandlers_.find(name);
    if (found != menuHandlers_.end())
        dispatch_.Run(found->second);
}

void FormModel::BindFormEvent(std::string_view event, std::function<void()> handler) {
    formHandlers_[std::string(event)] = std::move(handler);
}

void FormModel::RaiseFormEvent(std::string_view event) {
    auto found = formHandlers_.find(event);
    if (found != formHandlers_.end())
        dispatch_.Run(found->second);
}

}  // namespace zelmora
