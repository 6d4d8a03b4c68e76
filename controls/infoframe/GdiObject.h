#pragma once
// Owns one GDI object (brush, pen, font) and deletes it when it goes.
#include <windows.h>

#include <utility>

namespace cw {

template <typename Handle> class GdiObject {
  public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    void Reset() {
        if (handle_)
            DeleteObject(handle_);
        handle_ = nullptr;
    }

    Handle handle_;
};

} // namespace cw
