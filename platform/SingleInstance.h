#pragma once
// A named mutex that tells whether another process holds the same name; it is held for as long
// as this object lives, so later starts see this one.
#include <windows.h>

#include <memory>
#include <string>

namespace cw {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& name);

    bool AnotherIsRunning() const { return another_; }

private:
    struct Closer {
        void operator()(HANDLE h) const { CloseHandle(h); }
    };
    std::unique_ptr<std::remove_pointer_t<HANDLE>, Closer> mutex_;
    bool another_ = false;
};

} // namespace cw
