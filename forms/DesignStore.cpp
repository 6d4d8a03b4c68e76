#include "forms/DesignStore.h"

#include "forms/DesignText.h"
#include "fs/DurableReplace.h"
#include "fs/FileActions.h"

#include <windows.h>

namespace cw {
namespace {

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
    std::optional<std::string> read = ReadWholeFile(path, 16 * 1024 * 1024);
    if (read)
        text = std::move(*read);
    return read.has_value();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    return ReplaceDurably(path, text) == 0;
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
