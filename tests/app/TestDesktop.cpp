#include "TestDesktop.h"

#include "DesktopRedirect.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

namespace cwtest {
namespace {

class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        folder = std::make_unique<TempFolder>();
        redirect = std::make_unique<DesktopRedirect>(folder->Path());
    }
    void TearDown() override {
        redirect.reset();
        folder.reset();
    }
    std::unique_ptr<TempFolder> folder;
    std::unique_ptr<DesktopRedirect> redirect;
};

DesktopEnvironment* const environment =
    static_cast<DesktopEnvironment*>(::testing::AddGlobalTestEnvironment(new DesktopEnvironment));

} // namespace

const std::string& TestDesktop::Path() {
    return environment->folder->Path();
}

void TestDesktop::Clear() {
    RemoveTree(Path());
    CreateDirectoryA(Path().c_str(), nullptr);
}

} // namespace cwtest
