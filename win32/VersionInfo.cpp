#include "win32/VersionInfo.h"

#include "win32/Program.h"
#include "win32/SystemFunction.h"

#include <windows.h>

#include <winver.h>

#include <cstdio>
#include <vector>

namespace cw {
namespace {

// The version library's calls, loaded from the system folder only: the program also runs with an
// administrator's rights (the all-users step), and a library of that name placed beside it, in a
// downloads folder say, must never be loaded in its place.
constexpr const char* kVersionLibrary = "version.dll";
struct VersionLibrary {
    SystemFunction<decltype(GetFileVersionInfoSizeA)> sizeOf{kVersionLibrary,
                                                             "GetFileVersionInfoSizeA"};
    SystemFunction<decltype(GetFileVersionInfoA)> infoOf{kVersionLibrary, "GetFileVersionInfoA"};
    SystemFunction<decltype(VerQueryValueA)> query{kVersionLibrary, "VerQueryValueA"};
    explicit operator bool() const { return sizeOf && infoOf && query; }
};

const VersionLibrary& Library() {
    static const VersionLibrary library;
    return library;
}

BOOL QueryValue(LPCVOID block, LPCSTR query, LPVOID* value, PUINT length) {
    return Library().query.Get()(block, query, value, length);
}

std::string Text(const std::vector<char>& block, const char* language, const char* name) {
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", language, name);
    void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(block.data(), query, &value, &length) || !value || length == 0)
        return {};
    const auto* text = static_cast<const char*>(value);
    std::string out(text, length);
    out.resize(out.find('\0') == std::string::npos ? out.size() : out.find('\0'));
    return out;
}

} // namespace

std::optional<VersionInfo> VersionInfo::Read(const std::string& path) {
    if (!Library())
        return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = Library().sizeOf.Get()(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<char> block(size);
    if (!Library().infoOf.Get()(path.c_str(), 0, size, block.data()))
        return std::nullopt;

    VersionInfo info;
    void* fixed = nullptr;
    UINT length = 0;
    if (QueryValue(block.data(), "\\", &fixed, &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* f = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        info.major = HIWORD(f->dwFileVersionMS);
        info.minor = LOWORD(f->dwFileVersionMS);
        info.revision = HIWORD(f->dwFileVersionLS);
        info.build = LOWORD(f->dwFileVersionLS);
    }
    // The strings of the first language the block lists.
    char language[16] = "040904b0";
    void* translation = nullptr;
    if (QueryValue(block.data(), "\\VarFileInfo\\Translation", &translation, &length) &&
        translation && length >= 4) {
        const auto* pair = static_cast<const WORD*>(translation);
        std::snprintf(language, sizeof language, "%04x%04x", pair[0], pair[1]);
    }
    info.companyName = Text(block, language, "CompanyName");
    info.productName = Text(block, language, "ProductName");
    info.fileDescription = Text(block, language, "FileDescription");
    info.legalCopyright = Text(block, language, "LegalCopyright");
    return info;
}

std::optional<VersionInfo> VersionInfo::OfRunningProgram() {
    const std::string path = Program::Path();
    if (path.empty())
        return std::nullopt;
    return Read(path);
}

} // namespace cw
