#pragma once
// A status bar component: a row of panels (or one simple text) along the bottom of the holding
// window, drawn by the native status bar, with one tool tip per panel and click events.
//
// The component owns a native "msctls_statusbar32" window (a child of its own window) and a tool
// tip window. It hooks its own window to see the status window's click notifications.
#include "controls/statusbar/Panel.h"
#include "controls/statusbar/PanelOwner.h"
#include "forms/Component.h"
#include "subclass/Subclassing.h"
#include "win32/Handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cw {

class StatusBar : public Component, public PanelOwner {
public:
    // Creates the status window, a starting font and the tip window; properties follow with
    // InitProperties or ReadProperties.
    explicit StatusBar(ComponentHost& host);
    ~StatusBar() override;

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;
    void Resize() override;
    void DpiChanged() override;
    void Terminate() override;

    // The native status window (null once terminated or when it could not be made).
    HWND ControlHwnd() const { return status_.Get(); }
    HWND TipHwnd() const { return tip_.Get(); }

    // Setters notify their key and rebuild the native windows; values out of range are ignored.
    std::int16_t Count() const { return count_; }
    void SetCount(std::int16_t count); // 0 or more
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const cw::Font& Font() const { return font_; }
    void SetFont(const cw::Font& font);
    bool ShowTips() const { return showTips_; }
    void SetShowTips(bool showTips);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(std::string text);
    std::int32_t Style() const { return style_; }
    void SetStyle(std::int32_t style); // 0 panels, 1 simple text

    // The panel at 0..Count-1, else null.
    cw::Panel* Panel(std::int16_t index) const;

    // While true, UpdatePanels does nothing: callers change many panels, clear it, then call
    // UpdatePanels(-1) once. Not saved. The bar's own bulk changes hold updates back the same way.
    bool PreventUpdate() const { return preventUpdate_; }
    void SetPreventUpdate(bool prevent) { preventUpdate_ = prevent; }

    void Refresh();
    // Lays out the panels and re-sends one panel's text (its index) or all texts and tool tips
    // (-1).
    void UpdatePanels(std::int16_t index) override;

    // Panel clicked or double-clicked; button 1 left, 2 right.
    std::function<void(cw::Panel&, std::int16_t)> PanelClick;
    std::function<void(cw::Panel&, std::int16_t)> PanelDblClick;

    // For the panels and the hook procedure.
    void NotifyPropertyChanged(const std::string& key) override;
    void RaisePanelClick(cw::Panel& panel, std::int16_t button);
    void RaisePanelDblClick(cw::Panel& panel, std::int16_t button);
    // Refreshes the rectangles and texts of the existing tools; adds and removes none.
    void UpdateToolInfo();
    // The panels that exist of the first Count (fewer while Style 1 holds the list back).
    std::int16_t PanelsInList() const;

private:
    using OwnedFont = GdiObject<HFONT>;
    class HoldUpdates;

    OwnedWindow MakeStatusWindow(bool sizeGrip) const;
    static OwnedWindow MakeTipWindow();
    void UpdateControl(bool recreate);
    void ApplyFont();
    bool FollowCount();
    cw::Panel& AddPanel(const PropertyBag& bag);
    void LayoutPanels();
    void SendPanelText(std::int16_t index);
    void Hook();

    std::vector<std::unique_ptr<cw::Panel>> panels_;
    std::int32_t style_ = 0;
    cw::Font font_;
    bool enabled_ = false;
    bool preventUpdate_ = false;
    bool showTips_ = false;
    std::int16_t count_ = 0;
    std::string simpleText_;
    Subclassing hook_;
    // Declared before the windows so that it outlives the status window that uses it.
    OwnedFont fontHandle_;
    OwnedWindow status_;
    OwnedWindow tip_;
};

// Installed on the component's own window: turns the status window's click notifications into
// PanelClick / PanelDblClick and passes every other message on.
LRESULT CALLBACK StatusBarHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace cw
