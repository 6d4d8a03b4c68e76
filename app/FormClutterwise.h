#pragma once
// The main window and the program's start-up: names the program for its message boxes, refuses
// a second instance, finds the desktop folder and fills the item lists. Its system menu's About
// command opens the About box.
#include "app/DesktopItems.h"
#include "app/JournalText.h"
#include "app/Runs.h"
#include "controls/systemmenu/SystemMenuItem.h"
#include "forms/Form.h"
#include "forms/ListReorder.h"
#include "fs/Desktop.h"
#include "fs/FileSystem.h"
#include "win32/Background.h"
#include "win32/Program.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace cw {

class CheckBox;
class Control;
struct DesktopItem;
class ItemLooks;
class Journal;
class ListBox;
class OptionButton;
class StatusBar;
class SystemMenu;

class FormClutterwise : public Form {
public:
    FormClutterwise();
    ~FormClutterwise() override;

    // The user's desktop folder, ending in one backslash; set once at start-up.
    const std::string& DesktopFolder() const { return desktopFolder_; }

protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Unload() override;
    void OnDpiChanged() override;
    void OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PlaceKept() override;

private:
    FileSystem& Files();
    Desktop& DesktopWindow();

    // The item lists and their processing.
    void ResolveControls();
    void LoadItems();
    // Shows the rows of a scan's items and what the journal enables; the drift is told apart.
    void ShowItems(std::vector<DesktopItem> items);
    void ShowListStatus(std::int16_t panel, const ListBox& list, const char* noun);
    void SetPanelText(std::int16_t panel, const std::string& text);
    void ListItemsCurrent_Click();
    void ListItemsNew_Click();
    void ListItemsCurrent_DblClick();
    void ListItemsNew_DblClick();
    void ListItemsCurrent_KeyDown(int& keyCode, int shift);
    void ListItemsNew_KeyDown(int& keyCode, int shift);
    void CommandItemsAdd_Click();
    // Rows of "Current order:" dropped on "New order:" before its row `at` (-1: at the end).
    void ListItemsNew_DropFromCurrent(int at);
    void CommandItemsRemove_Click();
    void CommandSelectall_Click();
    void CommandRefresh_Click();
    void CommandProcess_Click();
    void RunExclusively(const char* activity, const std::function<void()>& run);
    static void Say(const std::string& text, MessageIcon icon);

    // The journal of the runs, "Undo" and "Reapply Order".
    Journal& RunJournal();
    bool ShowJournalState();
    void TellOfACutShortRun();
    const JournalRun* ReadRun(const JournalRun* run, bool orderOnly);
    // What a run's closing box tells besides the desktop's sort: the files it left as they were
    // (then it never reads as done), and the rows whose names the journal cannot hold.
    struct Closing {
        std::string notDone, note;
    };
    // The plan takes its times from `scanned` while that holds.
    std::optional<Closing> StampRows(RunKind kind, const std::vector<OrderRow>& rows,
                                     std::int16_t step, const DesktopListing& scanned);
    std::optional<Closing> Stamped(StampOutcome outcome);
    static void ReportToUser(const std::string& path);
    Background<bool> TellDesktop(std::int16_t step);
    void SayDone(Background<bool>& sortedView, const Closing& closing);
    // Tells how many of the last listing's shortcuts are out of the last applied order.
    void ShowDrift();
    // The status text of `outOfPlace` shortcuts out of order, and Reapply Order the default
    // button when there are any.
    void ShowOutOfPlace(std::size_t outOfPlace);
    void CommandUndo_Click();
    void CommandReapply_Click();
    void CheckReapplyAtSignIn_Click();

    // Fills the About box and shows it modally; the only command of the menu control is About.
    void SystemMenuClutterwise_ItemClick(SystemMenuItem& item);

    // The design's controls that the code uses, resolved once when the window loads.
    ListBox *current_ = nullptr, *added_ = nullptr;
    Control *itemsAdd_ = nullptr, *itemsRemove_ = nullptr, *process_ = nullptr;
    Control *undo_ = nullptr, *reapply_ = nullptr;
    OptionButton *ascending_ = nullptr, *descending_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    CheckBox* signIn_ = nullptr;
    SystemMenu* systemMenu_ = nullptr;

    std::string desktopFolder_;
    DesktopFolders folders_; // the user's (desktopFolder_) and that of all users
    RowFiles rowFiles_;      // each row's file, from the last scan
    DesktopListing listing_; // the last scan's listings
    std::optional<std::vector<DesktopItem>> listed_; // the last scan, until its drift is told
    // The start's: the folders, what keeps them from being listed ("" nothing), and the listing.
    struct FirstListing {
        DesktopFolders folders;
        std::string missing;
        std::vector<DesktopItem> items;
        DesktopListing scanned;
    };
    std::optional<Background<FirstListing>> firstListing_; // from Form_Initialize to Form_Load
    std::unique_ptr<FileSystem> fileSystem_;               // created on first use
    bool aboutOpen_ = false;
    std::unique_ptr<Desktop> desktop_;     // created on first use
    std::unique_ptr<Journal> journal_;     // read on first use
    std::unique_ptr<ListReorder> reorder_; // keys and dragging in the new order, from load on
    std::unique_ptr<ItemLooks> looks_;     // the rows' icons and column rules, while loaded
    bool processing_ = false;              // while a run goes, its boxes included
};

} // namespace cw
