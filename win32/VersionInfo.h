#pragma once
// The version information (VERSIONINFO resource) of a program file.
#include <optional>
#include <string>

namespace cw {

struct VersionInfo {
    int major = 0, minor = 0, revision = 0, build = 0; // the file version
    std::string companyName;
    std::string productName;
    std::string fileDescription;
    std::string legalCopyright;

    // Nothing when the file has no version information or cannot be read.
    static std::optional<VersionInfo> Read(const std::string& path);
    // The running program's (the .exe's, not a library's).
    static std::optional<VersionInfo> OfRunningProgram();
};

} // namespace cw
