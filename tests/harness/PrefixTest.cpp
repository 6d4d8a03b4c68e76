// The tests run in a private Wine prefix inside the build tree: its Desktop (and the other user
// folders) must lie there, never in the developer's own home folder. prefix-folders.sh checks
// from the Linux side that they are real folders, not links.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

namespace {

// Wine's own export that maps a DOS path to the Linux path it stands for.
std::string UnixPathOf(const std::string& dosPath) {
    using Fn = char*(__cdecl*)(LPCWSTR);
    const auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn)
        return {};
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, dosPath.c_str(), -1, wide, MAX_PATH);
    char* unixPath = fn(wide);
    std::string result = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string FolderOf(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

} // namespace

TEST(PrivatePrefix, UserFoldersAreRealFoldersInsideTheBuildTree) {
    const char* build = std::getenv("CLUTTERWISE_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "run through CTest";
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC}) {
        const std::string dos = FolderOf(csidl);
        ASSERT_FALSE(dos.empty()) << "CSIDL " << csidl;
        const std::string unixPath = UnixPathOf(dos);
        ASSERT_FALSE(unixPath.empty()) << dos;
        EXPECT_EQ(unixPath.rfind(build, 0), 0u) << dos << " is " << unixPath;
    }
}
