#include "app/FormAbout.h"

#include "forms/BusyCursor.h"
#include "forms/Image.h"
#include "forms/Label.h"

#include <shellapi.h>

namespace cw {
namespace {

void EraseAll(std::string& text, std::string_view what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

} // namespace

std::string AboutCaption(std::string_view commandText) {
    std::string caption(commandText);
    EraseAll(caption, "&");
    EraseAll(caption, "...");
    return caption;
}

FormAbout::FormAbout() : Form("FormAbout") {
    BindEvents<FormAbout>({
        {"LabelWebsite", Event::Click, &FormAbout::LabelWebsite_Click},
        {"CommandOK", Event::Click, &FormAbout::CommandOK_Click},
    });
}

void FormAbout::Form_Load() {
    Get<Image>("ImageIcon").SetPicture(shownIcon_);
    Get<Label>("LabelApplication").SetCaption(application_);
    Get<Label>("LabelCopyright").SetCaption(copyright_);
    Get<Label>("LabelWebsite").SetCaption(website_);
    FitWebsiteLabel();
}

void FormAbout::OnDpiChanged() {
    FitWebsiteLabel(); // text does not grow exactly with the scale
}

// Only the address itself is the click target, not the empty rest of the row.
void FormAbout::FitWebsiteLabel() {
    auto& website = Get<Label>("LabelWebsite");
    website.Move(website.Left(), website.Top(), TextWidth(website.Caption()), website.Height());
}

void FormAbout::LabelWebsite_Click() {
    const BusyCursor busy(*this);
    // An address the shell cannot open leaves the box as it is; the user sees nothing happen.
    ShellExecuteA(Hwnd(), "open", Get<Label>("LabelWebsite").Caption().c_str(), "", "",
                  SW_SHOWMAXIMIZED);
}

void FormAbout::CommandOK_Click() {
    Unload();
}

} // namespace cw
