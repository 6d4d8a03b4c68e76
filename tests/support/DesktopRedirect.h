#pragma once
// Points the shell's Desktop folder of the private prefix at another folder for one test and
// puts the previous setting back afterwards. Tests that use it hold the CTest lock "desktop".
#include <string>

namespace cwtest {

class DesktopRedirect {
public:
    explicit DesktopRedirect(const std::string& folder);
    ~DesktopRedirect();
    DesktopRedirect(const DesktopRedirect&) = delete;
    DesktopRedirect& operator=(const DesktopRedirect&) = delete;

private:
    std::string previous_;
    bool hadPrevious_ = false;
};

} // namespace cwtest
