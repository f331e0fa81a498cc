#pragma once
#include <unknwn.h>

#include <utility>

// Owns one reference to a COM interface and releases it however the scope is left.
template <class Interface>
class ComPointer {
public:
    ComPointer() = default;
    // Takes over a reference the caller already holds.
    explicit ComPointer(Interface* owned) : pointer_(owned) {}
    ~ComPointer() { reset(); }
    ComPointer(ComPointer&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPointer& operator=(ComPointer&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For a function that hands out a new reference: whatever was held is released first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};
