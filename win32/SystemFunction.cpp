#include "win32/SystemFunction.h"

#include "win32/Errors.h"

#include <windows.h>

#include <string>

namespace cw {

AnyFunction FindSystemFunction(const char* library, const char* function, std::string& error) {
    error.clear();
    // Once loaded the library stays: loading it again only counts up its references.
    const HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        error = std::string("the system library ") + library +
                " cannot be loaded: " + SystemErrorText(GetLastError());
        return nullptr;
    }
    const FARPROC found = GetProcAddress(module, function);
    if (!found) {
        error = std::string(library) + " has no function " + function;
        return nullptr;
    }
    return reinterpret_cast<AnyFunction>(found);
}

} // namespace cw
