#pragma once
// The main window and the program's start-up: names the program for its message boxes, refuses
// a second instance, finds the desktop folder and fills the item lists. Its system menu's About
// command opens the About box.
#include "controls/systemmenu/SystemMenuItem.h"
#include "forms/Form.h"
#include "fs/Desktop.h"
#include "fs/FileSystem.h"

#include <memory>
#include <string>

namespace cw {

class ListBox;

class FormClutterwise : public Form {
public:
    FormClutterwise();

    // The user's desktop folder, ending in one backslash; set once at start-up.
    const std::string& DesktopFolder() const { return desktopFolder_; }

protected:
    void Form_Load() override;

private:
    FileSystem& Files();
    Desktop& DesktopWindow();

    // The item lists and their processing.
    void BindItemHandlers();
    void LoadItems();
    void MoveSelectedItems(ListBox& source, ListBox& target);
    void ShowListStatus(int panel, const ListBox& list, const char* noun);
    void SetPanelText(int panel, const std::string& text);
    void ListItemsCurrent_Click();
    void ListItemsNew_Click();
    void ListItemsCurrent_DblClick();
    void ListItemsNew_DblClick();
    void ListItemsCurrent_KeyDown(int keyCode);
    void ListItemsNew_KeyDown(int keyCode);
    void CommandItemsAdd_Click();
    void CommandItemsRemove_Click();
    void CommandSelectall_Click();
    void CommandRefresh_Click();
    void CommandProcess_Click();

    // Fills the About box and shows it modally; the only command of the menu control is About.
    void SystemMenuClutterwise_ItemClick(SystemMenuItem& item);

    std::string desktopFolder_;
    std::unique_ptr<FileSystem> fileSystem_; // created on first use
    bool aboutOpen_ = false;
    std::unique_ptr<Desktop> desktop_; // created on first use
    bool processing_ = false;          // while CommandProcess_Click runs, its boxes included
};

} // namespace cw
