#pragma once
// The About box: the program's icon, name and version, copyright line and the maker's web
// address, which opens in the browser when clicked. The caller sets the four properties before it
// loads the box; loading copies them into the controls.
#include "forms/Form.h"
#include "win32/Picture.h"

#include <string>
#include <string_view>
#include <utility>

namespace cw {

class FormAbout : public Form {
public:
    FormAbout();

    const std::string& Application() const { return application_; }
    void SetApplication(std::string text) { application_ = std::move(text); }
    const std::string& Copyright() const { return copyright_; }
    void SetCopyright(std::string text) { copyright_ = std::move(text); }
    // The icon the box shows beside its text, in ImageIcon; Icon (the form's own) is the one of
    // its title bar. Copies share the icon.
    const Picture& Icon2() const { return shownIcon_; }
    void SetIcon2(const Picture& icon) { shownIcon_ = icon; }
    const std::string& Website() const { return website_; }
    void SetWebsite(std::string address) { website_ = std::move(address); }

protected:
    void Form_Load() override;
    void OnDpiChanged() override;

private:
    void FitWebsiteLabel();
    void LabelWebsite_Click();
    void CommandOK_Click();

    std::string application_;
    std::string copyright_;
    Picture shownIcon_;
    std::string website_;
};

// The box's caption from a menu command's text: every "&" removed, then every "...".
std::string AboutCaption(std::string_view commandText);

} // namespace cw
