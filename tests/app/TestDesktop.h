#pragma once
// The desktop folder of this test program. Wine resolves the shell's Desktop folder once per
// process, so the redirect is made once, before any test asks, and each test empties the folder
// and fills it with what it needs.
#include <string>

namespace cwtest {

class TestDesktop {
public:
    // The folder, without a final backslash.
    static const std::string& Path();
    // Removes everything in the folder.
    static void Clear();
};

} // namespace cwtest
