#pragma once
// Where the operating system keeps well-known folders. Paths come back as the system gives
// them (only the temporary folder ends in a backslash); every failure gives "".
#include <cstdint>
#include <string>

namespace cw {

class SpecialFolders {
public:
    // The folder shown by an open Explorer window, or "" when there is none.
    std::string GetExplorerFolder() const;
    std::string GetPrinterDriverFolder() const;
    std::string GetPrintProcessorFolder() const;
    // The file-system path of a shell folder given by its CSIDL number.
    std::string GetSpecialFolder(int32_t specialfolder) const;
    std::string GetSystemFolder() const;
    std::string GetTempFolder() const;
    std::string GetWindowsFolder() const;
};

} // namespace cw
