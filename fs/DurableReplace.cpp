#include "fs/DurableReplace.h"

#include "fs/FileActions.h"
#include "fs/WidePath.h"
#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>

namespace cw {

PendingReplace::PendingReplace(std::string path, std::string_view text)
    : path_(std::move(path)),
      temporary_(path_ + "." + std::to_string(GetCurrentProcessId()) + ".tmp") {
    const KernelHandle file(CreateFileW(WidePath(temporary_).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error_ = GetLastError();
        return;
    }
    for (size_t done = 0; done < text.size();) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 24));
        if (!WriteFile(file.Get(), text.data() + done, chunk, &written, nullptr) || written == 0) {
            error_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
            return;
        }
        done += written;
    }
    if (!FlushFileBuffers(file.Get()))
        error_ = GetLastError();
}

PendingReplace::~PendingReplace() {
    if (!committed_)
        RemoveFileAt(temporary_);
}

std::uint32_t PendingReplace::Commit(bool replace) {
    if (error_ != 0)
        return error_;
    error_ = RenameDurably(temporary_, path_, replace);
    committed_ = error_ == 0;
    return error_;
}

std::uint32_t ReplaceDurably(const std::string& path, std::string_view text, bool replace) {
    PendingReplace pending(path, text);
    return pending.Commit(replace);
}

} // namespace cw
