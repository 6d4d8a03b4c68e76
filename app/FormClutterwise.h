#pragma once
// The main window and the program's start-up: names the program for its message boxes, refuses
// a second instance, finds the desktop folder and fills the item lists. Its system menu's About
// command opens the About box.
#include "FileSystem.h"
#include "Form.h"
#include "SystemMenuItem.h"

#include <memory>
#include <string>

namespace cw {

class FormClutterwise : public Form {
public:
    FormClutterwise();

    // The user's desktop folder, ending in one backslash; set once at start-up.
    const std::string& DesktopFolder() const { return desktopFolder_; }

protected:
    void Form_Load() override;

private:
    FileSystem& Files();
    // The desktop scan that fills "Current order:"; it arrives with the item lists.
    void LoadItems();

    // Fills the About box and shows it modally; the only command of the menu control is About.
    void SystemMenuClutterwise_ItemClick(SystemMenuItem& item);

    std::string desktopFolder_;
    std::unique_ptr<FileSystem> fileSystem_; // created on first use
    bool aboutOpen_ = false;
};

} // namespace cw
