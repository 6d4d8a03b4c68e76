#include "fs/SpecialFolders.h"

#include "fs/PlatformText.h"
#include "win32/SystemFunction.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace cw {
namespace {

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};

// The print spooler's folder queries. Its library is loaded when a printer folder is first asked
// for: imported, it was loaded with the program, which costs a start under Wine 5-9 ms and 4.7 MB
// of working set, for folders the program itself never asks for.
using DirectoryQuery = BOOL WINAPI(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD);
constexpr const char* kSpooler = "winspool.drv";

// The byte count these queries report is no measure of the text: for the narrow forms some
// platforms count the text's UTF-16 size, others its narrow size. The path ends at its NUL.
std::string QueryDirectory(DirectoryQuery* query) {
    if (!query)
        return {};
    char localServer[] = "";
    char currentEnvironment[] = "";
    std::string buffer(MAX_PATH, '\0');
    DWORD needed = 0;
    auto ask = [&] {
        return query(localServer, currentEnvironment, 1, reinterpret_cast<LPBYTE>(buffer.data()),
                     static_cast<DWORD>(buffer.size()), &needed);
    };
    if (!ask()) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size())
            return {};
        buffer.assign(needed, '\0');
        if (!ask())
            return {};
    }
    detail::TrimAtNul(buffer);
    return buffer;
}

// The shell's shared-memory functions, exported by ordinal only.
using LockShared = void*(WINAPI*)(HANDLE, DWORD);
using UnlockShared = BOOL(WINAPI*)(void*);
using FreeShared = BOOL(WINAPI*)(HANDLE, DWORD);

template <typename Function> Function ShellOrdinal(WORD ordinal) {
    const HMODULE shell = GetModuleHandleA("shell32.dll");
    return shell ? reinterpret_cast<Function>(
                       reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(ordinal))))
                 : nullptr;
}

// Asks the window for the item-ID list of the folder it shows, through a shared block that this
// process maps, reads and releases.
std::string ExplorerFolderOf(HWND explorer) {
    const auto lock = ShellOrdinal<LockShared>(521);
    const auto unlock = ShellOrdinal<UnlockShared>(522);
    const auto release = ShellOrdinal<FreeShared>(523);
    if (!lock || !unlock || !release)
        return {};
    const DWORD process = GetCurrentProcessId();
    const auto block = reinterpret_cast<HANDLE>(SendMessageA(explorer, WM_USER + 12, process, 0));
    if (!block)
        return {};
    auto freeBlock = [&](HANDLE b) { release(b, process); };
    const std::unique_ptr<void, decltype(freeBlock)> blockOwner(block, freeBlock);
    auto unmap = [&](void* list) { unlock(list); };
    const std::unique_ptr<void, decltype(unmap)> list(lock(block, process), unmap);
    if (!list)
        return {};
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(list.get()), path) != TRUE)
        return {};
    return path;
}

} // namespace

std::string SpecialFolders::GetExplorerFolder() const {
    const HWND explorer = FindWindowA("ExploreWClass", nullptr);
    return explorer ? ExplorerFolderOf(explorer) : std::string();
}

std::string SpecialFolders::GetPrinterDriverFolder() const {
    static const SystemFunction<DirectoryQuery> query(kSpooler, "GetPrinterDriverDirectoryA");
    return QueryDirectory(query.Get());
}

std::string SpecialFolders::GetPrintProcessorFolder() const {
    static const SystemFunction<DirectoryQuery> query(kSpooler, "GetPrintProcessorDirectoryA");
    return QueryDirectory(query.Get());
}

// A shell folder outside the file system (such as the printers folder) has no path: "".
std::string SpecialFolders::GetSpecialFolder(int32_t specialfolder) const {
    LPITEMIDLIST found = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, specialfolder, &found) != S_OK)
        return {};
    const std::unique_ptr<ITEMIDLIST, IdListFree> list(found);
    char path[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(list.get(), path))
        return {};
    return path;
}

std::string SpecialFolders::GetSystemFolder() const {
    return detail::ReadPlatformText(
        [](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

std::string SpecialFolders::GetTempFolder() const {
    return detail::ReadPlatformText(
        [](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
}

std::string SpecialFolders::GetWindowsFolder() const {
    return detail::ReadPlatformText(
        [](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
}

} // namespace cw
