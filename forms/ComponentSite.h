#pragma once
// What a form gives each of its components: the ComponentHost answers for one component, with its
// extender values (name, docking, outer size) and the form's ambient values.
#include "forms/ComponentHost.h"
#include "forms/DesignNode.h"

#include <windows.h>

namespace cw {

class Form;

class ComponentSite : public ComponentHost {
public:
    // Extender values from the design entry: align, left, top, width, height (twips); a size the
    // entry lacks comes from the bag's "_extentx" / "_extenty" (hundredths of a millimetre).
    ComponentSite(Form& form, const DesignNode& entry);

    void Attach(HWND componentWindow) { window_ = componentWindow; }
    HWND Window() const { return IsWindow(window_) ? window_ : nullptr; }
    const std::string& Kind() const { return kind_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    // The docking pass of the form sets the place it gave the component.
    void SetPlace(int left, int top, int width, int height);
    // Writes the docking and size into the design entry's layout where they now differ from what
    // the entry gave (a new status bar docks itself, a header sizes itself). The place is left
    // alone: docking derives it, and twips that do not fall on a pixel would drift.
    void WriteExtender(PropertyBag& layout) const;

    bool UserMode() const override;
    void PropertyChanged(const std::string& key) override;
    Font AmbientFont() const override;
    double TwipsPerPixelX() const override;
    double TwipsPerPixelY() const override;
    int Dpi() const override;
    HWND ContainerHwnd() const override;
    int ContainerClientWidth() const override;
    BorderStyle ContainerBorderStyle() const override;
    std::vector<ControlInfo> ContainerControls() const override;
    std::string Name() const override { return name_; }
    Align GetAlign() const override { return align_; }
    void SetAlign(Align align) override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetSize(int widthTwips, int heightTwips) override;

private:
    Form& form_;
    std::string kind_;
    std::string name_;
    Align align_ = Align::None;
    int left_ = 0, top_ = 0, width_ = 1200, height_ = 1200;
    Align loadedAlign_ = Align::None;
    int loadedWidth_ = 0, loadedHeight_ = 0;
    HWND window_ = nullptr;
};

} // namespace cw
