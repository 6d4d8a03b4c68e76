#include "TempFolder.h"

#include "fs/WidePath.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace cwtest {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        path_ = std::string(temp) + "cwtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::string TempFolder::MakeFile(const std::string& name, const std::string& contents) const {
    const std::string file = *this / name;
    HANDLE h = CreateFileW(cw::WidePath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + file);
    DWORD written = 0;
    WriteFile(h, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(h);
    return file;
}

std::string TempFolder::MakeFolder(const std::string& name) const {
    const std::string folder = *this / name;
    CreateDirectoryW(cw::WidePath(folder).c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(cw::WidePath(path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = cw::Narrow(fd.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::wstring child = cw::WidePath(path + "\\" + name);
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\" + name);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(cw::WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(cw::WidePath(path).c_str());
}

} // namespace cwtest
