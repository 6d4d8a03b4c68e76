#include "fs/GuardedStamp.h"

#include "fs/KeywordName.h"
#include "fs/WidePath.h"
#include "win32/FileTime.h"
#include "win32/SystemFunction.h"

#include <shlobj.h>
#include <winternl.h>

#include <optional>

namespace cw {
namespace {

constexpr KeywordName<StampReason> kReasons[] = {
    {StampReason::Stamped, "stamped", "stamped"},
    {StampReason::Outside, "outside", "outside the all-users desktop"},
    {StampReason::NotPlainName, "bad-name", "not a plain file name"},
    {StampReason::DeviceName, "device", "a device name"},
    {StampReason::NotShortcut, "not-shortcut", "not a shortcut"},
    {StampReason::Missing, "missing", "not there"},
    {StampReason::Folder, "folder", "a folder"},
    {StampReason::ReparsePoint, "reparse-point", "a reparse point"},
    {StampReason::MoreThanOneLink, "links", "more than one link"},
    {StampReason::OtherName, "other-name", "known by another name"},
    {StampReason::AccessDenied, "access-denied", "access denied"},
    {StampReason::InUse, "in-use", "in use by another program"},
    {StampReason::Failed, "failed", "could not be stamped"},
    {StampReason::ChangedSince, "changed", "changed since the run listed it"},
    {StampReason::NotPlanned, "not-planned", "times outside the run's window"},
    {StampReason::NoFolder, "no-folder", "the all-users desktop cannot be reached"},
};

constexpr size_t kLongestName = 255; // UTF-16 units, as the file systems allow

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() && SameFileText(text.substr(text.size() - end.size()), end);
}

// Names the platform opens as devices in any folder, with or without an extension.
bool IsDeviceName(std::wstring_view name) {
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.remove_suffix(1);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (SameFileText(base, device))
            return true;
    if (base.size() == 4 &&
        (SameFileText(base.substr(0, 3), L"COM") || SameFileText(base.substr(0, 3), L"LPT"))) {
        const wchar_t digit = base[3];
        return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
               digit == L'\u00B3';
    }
    return false;
}

// The reason a name is refused before any file is looked at; Stamped when it may be tried.
StampReason CheckName(const std::optional<std::wstring>& wide) {
    if (!wide || wide->empty() || wide->size() > kLongestName)
        return StampReason::NotPlainName;
    const std::wstring& name = *wide;
    if (name.find_first_of(L"\\/:") != std::wstring::npos || name == L"." || name == L"..")
        return StampReason::Outside;
    for (const wchar_t c : name)
        if (c < L' ' || std::wstring_view(L"<>\"|?*").find(c) != std::wstring_view::npos)
            return StampReason::NotPlainName;
    // The platform drops trailing dots and blanks from a name it parses, so such a name would
    // reach another file than the one it reads as.
    if (name.back() == L'.' || name.back() == L' ')
        return StampReason::NotPlainName;
    if (IsDeviceName(name))
        return StampReason::DeviceName;
    for (const wchar_t* extension : {L".lnk", L".url", L".pif"})
        if (EndsWithIgnoringCase(name, extension))
            return StampReason::Stamped;
    return StampReason::NotShortcut;
}

StampReason FromError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return StampReason::Missing;
    case ERROR_ACCESS_DENIED:
        return StampReason::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return StampReason::InUse;
    default:
        return StampReason::Failed;
    }
}

// The rules that the file's own attributes answer: read from the handle, or from the name when it
// does not open (a folder does not open as a file).
std::optional<StampReason> CheckAttributes(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return StampReason::ReparsePoint;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return StampReason::Folder;
    return std::nullopt;
}

// Opens the file `name` (a plain name) of the folder held as `folder` to read its facts and write
// its times, never through a link (the link itself opens), and never a folder. Relative to the
// held folder: the name is looked up there alone, not along the folder's whole path again.
// Empty, with the platform's error code in `error`, when it does not open.
KernelHandle OpenInFolder(HANDLE folder, const std::wstring& name, DWORD& error) {
    static const SystemFunction<decltype(NtCreateFile)> create("ntdll.dll", "NtCreateFile");
    static const SystemFunction<decltype(RtlNtStatusToDosError)> toError("ntdll.dll",
                                                                         "RtlNtStatusToDosError");
    error = ERROR_INVALID_FUNCTION;
    if (!create || !toError || name.size() > kLongestName)
        return {};
    UNICODE_STRING text{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                        static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(name.c_str())};
    OBJECT_ATTRIBUTES object;
    InitializeObjectAttributes(&object, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE file = nullptr;
    const NTSTATUS status = create.Get()(
        &file, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE, &object, &io, nullptr, 0,
        FILE_SHARE_READ, FILE_OPEN,
        FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr,
        0);
    if (status < 0) {
        error = toError.Get()(status);
        return {};
    }
    return KernelHandle(file);
}

bool ValidTime(std::uint64_t time) {
    // 0 asks the platform to leave a time as it is; a value with the top bit set is no date.
    return time != 0 && time < (std::uint64_t{1} << 63);
}

} // namespace

const char* Describe(StampReason reason) {
    return NameIn(kReasons, reason).text;
}

const char* Keyword(StampReason reason) {
    return NameIn(kReasons, reason).keyword;
}

bool ReasonOfKeyword(std::string_view word, StampReason& reason) {
    return ValueOfKeyword(kReasons, word, reason);
}

StampReason GuardedStamp::NameReason(std::string_view name) {
    return CheckName(WideFromUtf8(name));
}

std::string GuardedStamp::AllUsersDesktop() {
    wchar_t path[MAX_PATH] = L"";
    if (SHGetFolderPathW(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                         path) != S_OK)
        return {};
    return Utf8FromWide(path).value_or(std::string());
}

GuardedStamp::GuardedStamp(const std::string& folder) {
    const std::optional<std::wstring> wide = WideFromUtf8(folder);
    std::optional<std::wstring> extended;
    if (!wide || wide->empty() || !(extended = ExtendedPathOf(*wide)))
        return;
    while (!extended->empty() && extended->back() == L'\\')
        extended->pop_back();
    // Held while files are stamped in it, so that a folder swapped in under its name cannot
    // receive the stamps.
    folder_ = HoldFolder(*extended, final_);
    if (folder_)
        path_ = std::move(*extended);
}

StampReason GuardedStamp::Stamp(std::string_view name, const StampTimes& times,
                                const WrittenCheck& expected) const {
    if (!Ready())
        return StampReason::NoFolder;
    if (const StampReason reason = NameReason(name); reason != StampReason::Stamped)
        return reason;
    const std::wstring wide = *WideFromUtf8(name); // NameReason saw to it
    if (!ValidTime(times.created) || !ValidTime(times.accessed) || !ValidTime(times.written))
        return StampReason::NotPlanned;

    // The times only: no right to the contents. Never through a link: the link itself opens, and
    // is refused below.
    DWORD error = 0;
    const KernelHandle file = OpenInFolder(folder_.Get(), wide, error);
    if (!file) {
        // A folder does not open as a file: the name's attributes tell it, asked for only here,
        // so that a file that opens costs no second lookup.
        const DWORD attributes = GetFileAttributesW((path_ + L"\\" + wide).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            if (const auto reason = CheckAttributes(attributes))
                return *reason;
        return FromError(error);
    }
    // No GetFileType: Wine reads the file for it, which moves its access time. The name reaches
    // no device (checked above), and only a file on a disk answers the information below.
    // Each fact asked for alone: Wine answers GetFileInformationByHandle with a query of the
    // volume's serial number that costs about half a millisecond a file. The basic facts hold
    // the times as well.
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &standard, sizeof standard))
        return StampReason::Failed;
    if (const auto reason = CheckAttributes(basic.FileAttributes))
        return *reason;
    if (standard.NumberOfLinks != 1)
        return StampReason::MoreThanOneLink;

    const std::optional<std::wstring> final = FinalPathOf(file.Get());
    if (!final)
        return StampReason::Failed;
    const size_t slash = final->find_last_of(L'\\');
    if (slash == std::wstring::npos ||
        !SameFileText(std::wstring_view(*final).substr(0, slash), final_))
        return StampReason::Outside;
    if (!SameFileText(std::wstring_view(*final).substr(slash + 1), wide))
        return StampReason::OtherName;

    if (expected && !expected(static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart)))
        return StampReason::ChangedSince;
    const FILETIME created = FileTimeOf(times.created), accessed = FileTimeOf(times.accessed),
                   written = FileTimeOf(times.written);
    if (!SetFileTime(file.Get(), &created, &accessed, &written))
        return FromError(GetLastError());
    return StampReason::Stamped;
}

} // namespace cw
