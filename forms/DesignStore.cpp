#include "forms/DesignStore.h"

#include "forms/DesignText.h"

#include "win32/Handles.h"

#include <windows.h>

namespace cw {
namespace {

KernelHandle OpenFile(const std::string& path, DWORD access, DWORD disposition) {
    HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(h);
}

DesignLoad FromText(std::string_view text, const std::string& source) {
    DesignReadResult read = ReadDesign(text);
    DesignLoad load;
    if (read.design)
        load.design = std::move(read.design);
    else
        load.error = source + ", " + DescribeDesignError(read.error);
    return load;
}

} // namespace

DesignLoad LoadDesignResource(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        DesignLoad load;
        load.error = "design " + name + ": the program holds no such design";
        return load;
    }
    const auto size = SizeofResource(module, resource);
    return FromText(std::string_view(static_cast<const char*>(data), size), "design " + name);
}

bool ReadTextFile(const std::string& path, std::string& text) {
    const KernelHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 16 * 1024 * 1024)
        return false;
    text.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    return text.empty() ||
           (ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) &&
            got == text.size());
}

// Written beside the file first and then put in its place, so that a failed write never leaves
// half a design behind.
bool WriteTextFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".saving";
    {
        const KernelHandle file = OpenFile(temporary, GENERIC_WRITE, CREATE_ALWAYS);
        DWORD written = 0;
        if (!file ||
            !WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) ||
            written != text.size() || !FlushFileBuffers(file.Get())) {
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

DesignLoad LoadDesignFile(const std::string& path) {
    std::string text;
    if (!ReadTextFile(path, text)) {
        DesignLoad load;
        load.error = path + ": cannot be read";
        return load;
    }
    return FromText(text, path);
}

bool SaveDesignFile(const std::string& path, const DesignNode& design) {
    return WriteTextFile(path, WriteDesign(design));
}

} // namespace cw
