#pragma once
// The designer's main window: the File, Insert and Component menus, the list of the design's
// components, and the window being designed beside it.
//
// The designed window is shown as the program would show it, but inert: the designer's message
// loop keeps mouse and keyboard input from its controls. A click on a component selects it, a
// double click (or F4, or a double click in the list) opens its property page. Only moving the
// window by its title bar is left to it.
#include "tools/designer/DesignDocument.h"
#include "win32/GdiFont.h"
#include "win32/Handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace cw {

class DesignerWindow {
public:
    DesignerWindow();
    ~DesignerWindow();
    DesignerWindow(const DesignerWindow&) = delete;
    DesignerWindow& operator=(const DesignerWindow&) = delete;

    bool Create();
    HWND Hwnd() const { return hwnd_; }
    DesignDocument& Document() { return document_; }

    // Opens a design file, after asking about unsaved changes; says why when it cannot.
    bool OpenFile(const std::string& path);
    // Asks whether to save unsaved changes (Yes, No, Cancel); false when the user cancels or the
    // save fails, so that whatever was about to drop the changes does not.
    bool QuerySave();
    bool Save();
    // Places a new component of the kind and selects it.
    bool InsertComponent(const std::string& kind);
    void Select(const std::string& name);
    const std::string& Selected() const { return selected_; }
    // Opens the selected component's property page (modal).
    void ShowProperties();

    // Runs the message loop until the window is closed.
    int Run();
    // True when the message was meant for the designed window and the designer dealt with it.
    bool PreTranslate(MSG& msg);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Command(int id);
    void Layout();
    void SetDpi(int dpi);
    int Scaled(int pixelsAt96) const;
    void ShowDesign(const RECT* place);
    void FillList();
    void UpdateTitle();
    void SetStatus(const std::string& text);
    std::string ComponentAt(HWND window) const;
    std::string ChooseFile(bool save) const;

    HWND hwnd_ = nullptr;
    HWND label_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    int dpi_ = 96;
    GdiFont font_; // at dpi_
    OwnedAccelerators accelerators_;
    DesignDocument document_;
    std::string selected_;
};

} // namespace cw
