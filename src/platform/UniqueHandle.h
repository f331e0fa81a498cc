#pragma once
#include <windows.h>

#include <utility>

// Owns a handle of the platform and closes it however the scope is left. `Traits` names what
// counts as no handle (`IsNone`) and how one is closed (`Close`).
template <class Handle, class Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(Traits::IsNone(handle) ? Handle{} : handle) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // For the functions that hand back a newly opened handle through a pointer.
    Handle* receive() {
        reset();
        return &handle_;
    }
    void reset() {
        if (handle_ != Handle{}) Traits::Close(std::exchange(handle_, Handle{}));
    }

private:
    Handle handle_{};
};

// Kernel handles: files, processes, pipes, events, mutexes. CreateFile's INVALID_HANDLE_VALUE is
// taken as no handle, so one test covers both conventions.
struct KernelHandleTraits {
    static bool IsNone(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
