#pragma once
// An owned GDI object (pen, brush, font, bitmap, region), deleted with this object.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace cw {

template <typename Handle> class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(Handle handle) : handle_(handle) {}

    Handle Get() const { return handle_.get(); }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    struct Deleter {
        void operator()(Handle handle) const { DeleteObject(handle); }
    };
    std::unique_ptr<std::remove_pointer_t<Handle>, Deleter> handle_;
};

} // namespace cw
