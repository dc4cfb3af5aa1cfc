#pragma once

namespace zelmora {

// Owns one reference to a COM interface and releases it.
template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ~ComPointer() {
        if (pointer_)
            pointer_->Release();
    }
    // For the out parameter of a call that hands over a reference.
    void** Out() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace zelmora
