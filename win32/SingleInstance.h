#pragma once
// A named mutex that tells whether another process holds the same name; it is held for as long
// as this object lives, so later starts see this one.
#include "win32/Handles.h"

#include <windows.h>

#include <string>

namespace cw {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& name);

    bool AnotherIsRunning() const { return another_; }

private:
    KernelHandle mutex_;
    bool another_ = false;
};

} // namespace cw
