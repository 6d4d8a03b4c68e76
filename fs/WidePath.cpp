#include "fs/WidePath.h"

#include <winternl.h>

#include <climits>
#include <vector>

namespace cw {

std::wstring Widen(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                        static_cast<int>(text.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    return wide;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::wstring WidePath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (path.size() < MAX_PATH)
        return wide;
    return ExtendedPathOf(wide).value_or(std::move(wide));
}

std::optional<std::wstring> WideFromUtf8(std::string_view text) {
    if (text.empty())
        return std::wstring();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::optional<std::string> Utf8FromWide(std::wstring_view text) {
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX / 4)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

std::optional<std::wstring> ExtendedPathOf(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return std::nullopt;
    full.resize(length);
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC" + full.substr(1) : L"\\\\?\\" + full;
}

std::wstring WithoutExtendedPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::optional<std::wstring> FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            break;
        if (length < path.size()) {
            path.resize(length);
            return WithoutExtendedPrefix(std::move(path));
        }
        path.assign(length, L'\0'); // the size asked for, its terminating NUL included
    }
    if (GetLastError() != ERROR_MORE_DATA)
        return std::nullopt;
    // Wine answers only for paths shorter than MAX_PATH (its own buffer is no longer): the name
    // of the object itself, asked for with room enough, is the same path as "\??\C:\...".
    // Windows answers above for any length and never comes here.
    using QueryObject = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    std::vector<unsigned char> buffer(sizeof(UNICODE_STRING) + 65'536 * sizeof(wchar_t));
    ULONG size = 0;
    constexpr int kObjectNameInformation = 1;
    if (!query || query(handle, kObjectNameInformation, buffer.data(),
                        static_cast<ULONG>(buffer.size()), &size) < 0)
        return std::nullopt;
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring_view nt(name->Buffer, name->Length / sizeof(wchar_t));
    if (nt.rfind(L"\\??\\", 0) != 0)
        return std::nullopt;
    return std::wstring(nt.substr(4));
}

KernelHandle HoldFolder(const std::wstring& extended, std::wstring& final) {
    KernelHandle folder(CreateFileW(
        extended.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder || !GetFileInformationByHandle(folder.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
            FILE_ATTRIBUTE_DIRECTORY)
        return {};
    std::optional<std::wstring> path = FinalPathOf(folder.Get());
    if (!path || !SameFileText(*path, WithoutExtendedPrefix(extended)))
        return {};
    final = std::move(*path);
    return folder;
}

bool SameFileText(std::wstring_view a, std::wstring_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return false;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace cw
