#include "win32/Com.h"

#include "win32/SystemFunction.h"

namespace cw {
namespace {

constexpr const char* kLibrary = "ole32.dll";
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

} // namespace

ComApartment::ComApartment(DWORD model) : started_(kNotFound) {
    static const SystemFunction<decltype(CoInitializeEx)> initialize(kLibrary, "CoInitializeEx");
    if (initialize)
        started_ = initialize.Get()(nullptr, model);
}

ComApartment::~ComApartment() {
    static const SystemFunction<decltype(CoUninitialize)> uninitialize(kLibrary, "CoUninitialize");
    if (SUCCEEDED(started_) && uninitialize)
        uninitialize.Get()();
}

HRESULT CreateComObject(REFCLSID type, DWORD context, REFIID interfaceId, void** object) {
    static const SystemFunction<decltype(CoCreateInstance)> create(kLibrary, "CoCreateInstance");
    *object = nullptr;
    return create ? create.Get()(type, nullptr, context, interfaceId, object) : kNotFound;
}

} // namespace cw
