#pragma once
// A component host for unit tests: a real top-level window as the holding window, settable answers
// to every host question, and a record of the property-changed notifications.
#include "forms/ComponentHost.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cwtest {

class TestHost : public cw::ComponentHost {
public:
    // A holding window with the given client size in pixels, shown without activation so that
    // painting and hit testing work as on a real form.
    explicit TestHost(int clientWidth = 721, int clientHeight = 420);
    ~TestHost() override;
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // The component window that SetSize and docking move (set once the component exists).
    void Attach(HWND componentWindow);
    // Pumps pending messages (painting, posted notifications).
    static void Pump();

    bool userMode = true;
    cw::Font ambientFont;
    std::vector<ControlInfo> controls;
    std::string name = "Component1";
    std::vector<std::string> changedKeys;

    bool UserMode() const override { return userMode; }
    void PropertyChanged(const std::string& key) override { changedKeys.push_back(key); }
    cw::Font AmbientFont() const override { return ambientFont; }
    double TwipsPerPixelX() const override { return 15.0; }
    double TwipsPerPixelY() const override { return 15.0; }
    HWND ContainerHwnd() const override { return window_; }
    int ContainerClientWidth() const override;
    cw::BorderStyle ContainerBorderStyle() const override { return cw::BorderStyle::FixedSingle; }
    std::vector<ControlInfo> ContainerControls() const override { return controls; }
    std::string Name() const override { return name; }
    cw::Align GetAlign() const override { return align_; }
    void SetAlign(cw::Align align) override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetSize(int widthTwips, int heightTwips) override;

    // Resizes the holding window's client area (pixels) and re-docks the component.
    void ResizeContainer(int clientWidth, int clientHeight);

private:
    void Place();

    HWND window_ = nullptr;
    HWND component_ = nullptr;
    cw::Align align_ = cw::Align::None;
    int width_ = 4800; // twips
    int height_ = 1200;
};

} // namespace cwtest
