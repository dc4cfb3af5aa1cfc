#pragma once

#include <utility>

namespace zelmora {

// A handle of type T, closed by Close; None is the value that holds nothing.
template <typename T, auto Close, T None = T{}>
class Scoped {
public:
    Scoped() = default;
    explicit Scoped(T value) : value_(value) {}
    Scoped(Scoped&& other) noexcept : value_(other.Release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~Scoped() { Reset(); }

    T Get() const { return value_; }
    // For the out parameter of a call that hands over a handle.
    T* Receive() {
        Reset();
        return &value_;
    }
    explicit operator bool() const { return value_ != None; }
    // Hands the handle over to a new owner: a window takes its menu, say.
    T Release() { return std::exchange(value_, None); }
    void Reset(T value = None) {
        if (value_ != None)
            Close(value_);
        value_ = value;
    }

private:
    T value_ = None;
};

}  // namespace zelmora
