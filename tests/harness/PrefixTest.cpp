// The tests run in a private Wine prefix inside the build tree: its Desktop (and the other user
// folders) must lie there, never in the developer's own home folder. prefix-folders.sh checks
// from the Linux side that they are real folders, not links.
#include "UnixPath.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>

TEST(PrivatePrefix, UserFoldersAreRealFoldersInsideTheBuildTree) {
    const char* build = std::getenv("CLUTTERWISE_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "run through CTest";
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC}) {
        char dos[MAX_PATH] = "";
        ASSERT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, dos), S_OK)
            << csidl;
        const std::string unixPath = cwtest::UnixPathOf(dos);
        ASSERT_FALSE(unixPath.empty()) << dos;
        EXPECT_EQ(unixPath.rfind(build, 0), 0u) << dos << " is " << unixPath;
    }
}
