#pragma once
// Functions of the system's libraries that the program calls rarely or late, found on first use
// rather than imported: every imported library is loaded (with the libraries it imports in turn)
// before the program's first line runs, which each start pays under Wine in tens of
// milliseconds. Libraries come from the system folder only, never from the program's folder or
// the current one.
#include <string>

namespace cw {

// What GetProcAddress finds, before it is given its real type.
using AnyFunction = void (*)();

// The address of `function` in the system library `library` ("oleaut32.dll"), which is loaded on
// the first request and stays; nullptr when the library cannot be loaded or has no such function,
// with `error` saying which ("oleaut32.dll has no function VarDateFromStr").
AnyFunction FindSystemFunction(const char* library, const char* function, std::string& error);

// One such function with its type, as its declaration gives it:
//   static const SystemFunction<decltype(VarDateFromStr)> parse("oleaut32.dll", "VarDateFromStr");
//   if (const auto call = parse.Get()) call(...); else report parse.Error();
// A missing function never crashes: Get() is null and Error() says what is missing.
template <typename Signature> class SystemFunction {
public:
    SystemFunction(const char* library, const char* function)
        : address_(reinterpret_cast<Signature*>(FindSystemFunction(library, function, error_))) {}

    Signature* Get() const { return address_; }
    explicit operator bool() const { return address_ != nullptr; }
    const std::string& Error() const { return error_; }

private:
    std::string error_; // before address_: the lookup fills it
    Signature* address_;
};

} // namespace cw
