#pragma once
// The program's few calls into the component object library, found on first use
// (win32/SystemFunction.h): only the icon lookups and the desktop's sort need it, so that a start
// comes up without loading it and the libraries it stands on.
#include <windows.h>

#include <objbase.h>

namespace cw {

// COM on the calling thread while the object lives, in `model` (COINIT_...). A thread that runs
// COM in the other model already (RPC_E_CHANGED_MODE) can still make the calls; only a start made
// here is ended here.
class ComApartment {
public:
    explicit ComApartment(DWORD model);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Whether the thread can make COM calls; false also when the library cannot be found.
    bool Usable() const { return SUCCEEDED(started_) || started_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT started_;
};

// CoCreateInstance without an outer object; a failure (HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND))
// when the library or the function cannot be found.
HRESULT CreateComObject(REFCLSID type, DWORD context, REFIID interfaceId, void** object);

} // namespace cw
