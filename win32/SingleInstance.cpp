#include "win32/SingleInstance.h"

namespace cw {

SingleInstance::SingleInstance(const std::string& name) {
    mutex_.Reset(CreateMutexA(nullptr, FALSE, name.c_str()));
    // A mutex of that name that this user may not open belongs to another instance as well.
    another_ =
        mutex_ ? GetLastError() == ERROR_ALREADY_EXISTS : GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace cw
