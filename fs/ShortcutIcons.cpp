#include "fs/ShortcutIcons.h"

#include "fs/WidePath.h"
#include "win32/Com.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cwctype>
#include <optional>
#include <string_view>

namespace cw {
namespace {

constexpr size_t kMostLinkBytes = 1 << 20;
constexpr size_t kMostUrlBytes = 1 << 16;
// IID_IImageList, which not every SDK's libraries carry.
constexpr IID kImageList = {
    0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

std::wstring Expanded(const std::wstring& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring out(size, L'\0');
    if (size == 0 || ExpandEnvironmentStringsW(text.c_str(), out.data(), size) != size)
        return text;
    out.pop_back();
    return out;
}

// A drive letter's path, in the extended form where it is long.
std::wstring OpenablePath(const std::wstring& path) {
    return path.size() >= MAX_PATH && path.rfind(L"\\\\", 0) != 0 ? L"\\\\?\\" + path : path;
}

// Opening a path on a drive that is missing, removable or on the network can wait for seconds
// (or for a disc): only fixed drives are opened.
bool OnFixedDrive(std::wstring path) {
    if (path.rfind(L"\\\\?\\", 0) == 0)
        path.erase(0, 4);
    if (path.size() < 3 || !std::iswalpha(path[0]) || path[1] != L':' || path[2] != L'\\')
        return false;
    const UINT type = GetDriveTypeW(path.substr(0, 3).c_str());
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

bool ExistsOnFixedDrive(const std::wstring& path) {
    return OnFixedDrive(path) &&
           GetFileAttributesW(OpenablePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring LowerExtension(const std::wstring& path) {
    std::wstring extension = PathFindExtensionW(path.c_str());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

std::string IconInFile(const std::wstring& file, int index) {
    return Narrow(file) + "," + std::to_string(index);
}

// The system image list's entry for a kind of file, known by its extension alone: nothing is
// opened, and no handler of the kind reads the file.
std::string IconOfKind(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    const std::wstring name =
        L"x" + (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)
                    ? std::wstring()
                    : path.substr(dot));
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX))
        return {};
    return "#" + std::to_string(info.iIcon);
}

// An icon file (or a program holding icons) named by a shortcut.
std::string IconInFileOrKind(const std::wstring& file, int index) {
    return ExistsOnFixedDrive(file) ? IconInFile(file, index) : IconOfKind(file);
}

// What the shell shows for a target: its own icon where it is there to ask, else its kind's.
// Programs and icon files show their own first icon (their kinds' DefaultIcon is "%1"; Wine's
// registry has the kind but does not map ".exe" to it).
std::string IconOfTarget(const std::wstring& target) {
    if (!ExistsOnFixedDrive(target))
        return IconOfKind(target);
    const std::wstring extension = LowerExtension(target);
    if (extension == L".exe" || extension == L".ico")
        return IconInFile(target, 0);
    const std::wstring path = OpenablePath(target);
    SHFILEINFOW info{};
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICONLOCATION) &&
        info.szDisplayName[0])
        return IconInFile(info.szDisplayName, info.iIcon);
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX))
        return "#" + std::to_string(info.iIcon);
    return IconOfKind(target);
}

// Reading a file moves its last-access time where the system keeps them. A handle that may set
// the times keeps it: on Windows by stopping its updates for the handle (a time of all ones),
// under Wine, which takes that as "leave as is" but lets the read move it, by writing the time
// back as it was before the read. Without that right (a file of the all-users desktop for a
// standard user) the system decides. Nothing when the file cannot be opened.
std::optional<std::string> ReadLeavingAccessTime(const std::string& file, size_t most) {
    const std::wstring path = OpenablePath(Widen(file));
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    KernelHandle handle(CreateFileW(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShare,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const bool maySetTimes = static_cast<bool>(handle);
    if (!handle)
        handle.Reset(CreateFileW(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle)
        return std::nullopt;
    FILETIME before{}, after{};
    if (maySetTimes) {
        const FILETIME keep{0xFFFFFFFF, 0xFFFFFFFF};
        SetFileTime(handle.Get(), nullptr, &keep, nullptr);
    }
    const bool timed = GetFileTime(handle.Get(), nullptr, &before, nullptr) != FALSE;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle.Get(), &size) && static_cast<ULONGLONG>(size.QuadPart) < most)
        most = static_cast<size_t>(size.QuadPart);
    std::string bytes(most, '\0');
    DWORD read = 0;
    const bool ok = ReadFile(handle.Get(), bytes.data(), static_cast<DWORD>(most), &read, nullptr);
    if (maySetTimes && timed && GetFileTime(handle.Get(), nullptr, &after, nullptr) &&
        CompareFileTime(&before, &after) != 0)
        SetFileTime(handle.Get(), nullptr, &before, nullptr);
    if (!ok)
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

// A shell link read from its bytes: the link object never opens the file itself.
std::string IconOfLink(const std::string& bytes) {
    IShellLinkW* rawLink = nullptr;
    if (FAILED(CreateComObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&rawLink))))
        return {};
    const ComRef<IShellLinkW> link(rawLink);
    IPersistStream* rawPersist = nullptr;
    if (FAILED(
            link.Get()->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&rawPersist))))
        return {};
    const ComRef<IPersistStream> persist(rawPersist);
    const ComRef<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                                   static_cast<UINT>(bytes.size())));
    if (!stream || FAILED(persist.Get()->Load(stream.Get())))
        return {};
    std::wstring text(32768, L'\0');
    int index = 0;
    if (SUCCEEDED(
            link.Get()->GetIconLocation(text.data(), static_cast<int>(text.size()), &index)) &&
        text[0])
        return IconInFileOrKind(Expanded(text.c_str()), index);
    if (link.Get()->GetPath(text.data(), static_cast<int>(text.size()), nullptr, SLGP_RAWPATH) ==
            S_OK &&
        text[0])
        return IconOfTarget(Expanded(text.c_str()));
    PIDLIST_ABSOLUTE target = nullptr; // a shell item that is no file (This PC, a control panel)
    if (FAILED(link.Get()->GetIDList(&target)) || !target)
        return {};
    SHFILEINFOW info{};
    const bool found = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(target), 0, &info, sizeof info,
                                      SHGFI_PIDL | SHGFI_SYSICONINDEX) != 0;
    ILFree(target);
    return found ? "#" + std::to_string(info.iIcon) : std::string();
}

// Section and key names are ASCII.
bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A value of the [InternetShortcut] section; "" when it is not there.
std::string InternetShortcutValue(std::string_view text, std::string_view key) {
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            inSection = SameNoCase(line, "[InternetShortcut]");
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            SameNoCase(Trimmed(line.substr(0, equals)), key))
            return std::string(Trimmed(line.substr(equals + 1)));
    }
    return {};
}

// An IconFile that is a web address (a site's icon) is not fetched: the kind's icon stands in.
std::string IconOfInternetShortcut(const std::string& text, const std::wstring& item) {
    const std::string file = InternetShortcutValue(text, "IconFile");
    if (file.empty() || file.find("://") != std::string::npos)
        return IconOfKind(item);
    const std::string index = InternetShortcutValue(text, "IconIndex");
    return IconInFileOrKind(Expanded(Widen(file)), index.empty() ? 0 : std::atoi(index.c_str()));
}

// The icon of entry `index` in the first system image list whose icons are at least `size`
// pixels (or in the largest), scaled to `size`.
OwnedIcon SystemListIcon(int index, int size) {
    ComRef<IUnknown> chosen;
    int chosenSize = 0;
    for (const int kind : {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE}) {
        IUnknown* raw = nullptr;
        if (FAILED(SHGetImageList(kind, kImageList, reinterpret_cast<void**>(&raw))) || !raw)
            continue;
        ComRef<IUnknown> list(raw);
        int cx = 0, cy = 0;
        if (!ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(raw), &cx, &cy) || cx <= chosenSize)
            continue;
        chosen = std::move(list);
        chosenSize = cx;
        if (cx >= size)
            break;
    }
    if (!chosen)
        return {};
    OwnedIcon icon(
        ImageList_GetIcon(reinterpret_cast<HIMAGELIST>(chosen.Get()), index, ILD_TRANSPARENT));
    if (icon && chosenSize != size)
        icon.Reset(static_cast<HICON>(
            CopyImage(icon.Release(), IMAGE_ICON, size, size, LR_COPYDELETEORG)));
    return icon;
}

} // namespace

std::string IconSourceOf(const std::string& item) {
    const std::wstring path = Widen(item);
    const std::wstring extension = LowerExtension(path);
    if (extension != L".lnk" && extension != L".url")
        return IconOfKind(path);
    const std::optional<std::string> bytes =
        ReadLeavingAccessTime(item, extension == L".lnk" ? kMostLinkBytes : kMostUrlBytes);
    if (!bytes)
        return {};
    return extension == L".lnk" ? IconOfLink(*bytes) : IconOfInternetShortcut(*bytes, path);
}

OwnedIcon IconOfSource(const std::string& source, int size) {
    if (source.empty() || size <= 0)
        return {};
    if (source[0] == '#')
        return SystemListIcon(std::atoi(source.c_str() + 1), size);
    const size_t comma = source.rfind(',');
    if (comma == std::string::npos)
        return {};
    const std::wstring file = Widen(std::string_view(source).substr(0, comma));
    HICON icon = nullptr;
    if (SHDefExtractIconW(file.c_str(), std::atoi(source.c_str() + comma + 1), 0, &icon, nullptr,
                          static_cast<UINT>(MAKELONG(size, size))) == S_OK &&
        icon)
        return OwnedIcon(icon);
    // A file without that icon (a program that holds none) shows as its kind.
    const std::string kind = IconOfKind(file);
    return kind.empty() ? OwnedIcon() : SystemListIcon(std::atoi(kind.c_str() + 1), size);
}

} // namespace cw
