#include "forms/ComponentSite.h"

#include "forms/Form.h"
#include "win32/Twips.h"

namespace cw {

ComponentSite::ComponentSite(Form& form, const DesignNode& entry)
    : form_(form), kind_(entry.kind), name_(entry.name) {
    const PropertyBag& p = entry.properties;
    const int align = p.ReadInt32("align", 0).value_or(0);
    align_ = align == 1 ? Align::Top : align == 2 ? Align::Bottom : Align::None;
    left_ = p.ReadInt32("left", 0).value_or(0);
    top_ = p.ReadInt32("top", 0).value_or(0);
    if (const auto extent = entry.bag.ReadInt32("_extentx", 0);
        extent && entry.bag.Text("_extentx"))
        width_ = HimetricToTwips(*extent);
    if (const auto extent = entry.bag.ReadInt32("_extenty", 0);
        extent && entry.bag.Text("_extenty"))
        height_ = HimetricToTwips(*extent);
    width_ = p.ReadInt32("width", width_).value_or(width_);
    height_ = p.ReadInt32("height", height_).value_or(height_);
    loadedAlign_ = align_;
    loadedWidth_ = width_;
    loadedHeight_ = height_;
}

void ComponentSite::WriteExtender(PropertyBag& layout) const {
    if (align_ != loadedAlign_ || layout.Text("align"))
        layout.SetText("align", std::to_string(static_cast<int>(align_)));
    if (width_ != loadedWidth_)
        layout.SetText("width", std::to_string(width_));
    if (height_ != loadedHeight_)
        layout.SetText("height", std::to_string(height_));
}

void ComponentSite::SetPlace(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

bool ComponentSite::UserMode() const {
    return form_.UserMode();
}

void ComponentSite::PropertyChanged(const std::string& key) {
    form_.ComponentPropertyChanged(name_, key);
}

Font ComponentSite::AmbientFont() const {
    return form_.GetFont();
}

double ComponentSite::TwipsPerPixelX() const {
    return form_.TwipsPerPixelX();
}

double ComponentSite::TwipsPerPixelY() const {
    return form_.TwipsPerPixelY();
}

int ComponentSite::Dpi() const {
    return form_.Dpi();
}

HWND ComponentSite::ContainerHwnd() const {
    return form_.Hwnd();
}

int ComponentSite::ContainerClientWidth() const {
    return form_.ClientWidth();
}

BorderStyle ComponentSite::ContainerBorderStyle() const {
    return form_.GetBorderStyle();
}

std::vector<ComponentHost::ControlInfo> ComponentSite::ContainerControls() const {
    return form_.ControlInfos();
}

void ComponentSite::SetAlign(Align align) {
    align_ = align;
    form_.Dock();
}

void ComponentSite::SetSize(int widthTwips, int heightTwips) {
    width_ = widthTwips;
    height_ = heightTwips;
    form_.Dock();
}

} // namespace cw
