#include "fs/GuardedFile.h"

#include "fs/WidePath.h"

#include <windows.h>

#include <algorithm>

namespace cw {
namespace {

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

} // namespace

GuardedRead GuardedFile::Read(const std::string& path, std::uint64_t maxBytes) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    const std::optional<std::wstring> extended = wide ? ExtendedPathOf(*wide) : std::nullopt;
    if (!extended)
        return {{}, ReadFault::Missing};
    const KernelHandle file(
        CreateFileW(extended->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {{}, ReadFault::Missing};
        const DWORD attributes = GetFileAttributesW(extended->c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return {{}, folder ? ReadFault::NotAFile : ReadFault::Unreadable};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return {{}, ReadFault::NotAFile};
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (size > maxBytes)
        return {{}, ReadFault::TooLarge};
    // One byte more than the size: a file that grows meanwhile is found out, not cut.
    GuardedRead read;
    read.text.resize(static_cast<size_t>(size) + 1);
    size_t done = 0;
    for (;;) {
        DWORD got = 0;
        const DWORD ask = static_cast<DWORD>(std::min<size_t>(read.text.size() - done, 1u << 20));
        if (!ReadFile(file.Get(), read.text.data() + done, ask, &got, nullptr))
            return {{}, ReadFault::Unreadable};
        done += got;
        if (got == 0 || done == read.text.size())
            break;
    }
    if (done > maxBytes)
        return {{}, ReadFault::TooLarge};
    read.text.resize(done);
    return read;
}

GuardedFile::GuardedFile(const std::string& path) {
    const std::optional<std::wstring> wide = WideFromUtf8(path);
    const std::optional<std::wstring> extended = wide ? ExtendedPathOf(*wide) : std::nullopt;
    if (!extended)
        return;
    const size_t slash = extended->find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == extended->size())
        return;
    std::wstring folderFinal;
    KernelHandle folder = HoldFolder(extended->substr(0, slash), folderFinal);
    if (!folder)
        return;
    KernelHandle file(CreateFileW(extended->c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    const std::optional<std::wstring> final = FinalPathOf(file.Get());
    if (!final || !SameFileText(*final, folderFinal + extended->substr(slash))) {
        FILE_DISPOSITION_INFO gone{TRUE};
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &gone, sizeof gone);
        return;
    }
    folder_ = std::move(folder);
    file_ = std::move(file);
}

bool GuardedFile::Append(std::string_view text) {
    if (!file_ || failed_)
        return false;
    failed_ = !WriteAll(file_.Get(), text);
    return !failed_;
}

bool GuardedFile::Finish() {
    if (!file_)
        return false;
    const bool flushed = FlushFileBuffers(file_.Get()) != 0;
    file_.Reset();
    folder_.Reset();
    return flushed && !failed_;
}

} // namespace cw
