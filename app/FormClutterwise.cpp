#include "app/FormClutterwise.h"

#include "app/DesktopItems.h"
#include "app/FormAbout.h"
#include "app/ItemLists.h"
#include "app/NewOrder.h"
#include "app/Startup.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/systemmenu/SystemMenu.h"
#include "forms/BusyCursor.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "fs/SpecialFolders.h"
#include "win32/Program.h"
#include "win32/Trace.h"

#include <exception>

namespace cw {
namespace {

constexpr const char* kMakerWebsite = "https://www.example.com/clutterwise/";

constexpr const char* kCurrentNoun = "current item";
constexpr const char* kNewNoun = "new item";

// The status bar's panels: the counts of each list, then what the window is doing.
enum : std::int16_t { kPanelCurrent, kPanelNew, kPanelActivity };

constexpr const char* kArrangeByDate =
    "Go to a blank area of the Desktop, click on the right mouse button\r\n"
    "select \"Arrange Icons\", click \"by Date\"";

} // namespace

FormClutterwise::FormClutterwise() : Form("FormClutterwise") {
    BindItemHandlers();
}

FileSystem& FormClutterwise::Files() {
    if (!fileSystem_)
        fileSystem_ = std::make_unique<FileSystem>();
    return *fileSystem_;
}

Desktop& FormClutterwise::DesktopWindow() {
    if (!desktop_)
        desktop_ = std::make_unique<Desktop>();
    return *desktop_;
}

void FormClutterwise::Form_Load() {
    ResolveControls();
    systemMenu_->ItemClick = [this](SystemMenuItem& i) { SystemMenuClutterwise_ItemClick(i); };
    Program::SetTitle(ProgramTitle(Program::Version().companyName));
    if (Program::PrevInstance()) {
        Program::MsgBox("The application is already active", MessageIcon::Exclamation);
        Unload(); // the window goes before it was ever shown
        return;
    }
    const SpecialFolders folders;
    desktopFolder_ = Files().AddFolderBackslash(folders.GetSpecialFolder(0)); // CSIDL_DESKTOP
    if (!IsUsableDesktopFolder(desktopFolder_)) {
        Unload(); // no desktop to order: end without a word
        return;
    }
    LoadItems();
}

void FormClutterwise::BindItemHandlers() {
    On("ListItemsCurrent_Click", [this] { ListItemsCurrent_Click(); });
    On("ListItemsNew_Click", [this] { ListItemsNew_Click(); });
    On("ListItemsCurrent_DblClick", [this] { ListItemsCurrent_DblClick(); });
    On("ListItemsNew_DblClick", [this] { ListItemsNew_DblClick(); });
    OnKeyDown("ListItemsCurrent_KeyDown", [this](int& key, int) { ListItemsCurrent_KeyDown(key); });
    OnKeyDown("ListItemsNew_KeyDown", [this](int& key, int) { ListItemsNew_KeyDown(key); });
    On("CommandItemsAdd_Click", [this] { CommandItemsAdd_Click(); });
    On("CommandItemsRemove_Click", [this] { CommandItemsRemove_Click(); });
    On("CommandSelectall_Click", [this] { CommandSelectall_Click(); });
    On("CommandRefresh_Click", [this] { CommandRefresh_Click(); });
    On("CommandProcess_Click", [this] { CommandProcess_Click(); });
}

// A design without one of these fails to load, naming it.
void FormClutterwise::ResolveControls() {
    current_ = &Get<ListBox>("ListItemsCurrent");
    added_ = &Get<ListBox>("ListItemsNew");
    itemsAdd_ = &Get<Control>("CommandItemsAdd");
    itemsRemove_ = &Get<Control>("CommandItemsRemove");
    process_ = &Get<Control>("CommandProcess");
    ascending_ = &Get<OptionButton>("OptionMethodAscending");
    descending_ = &Get<OptionButton>("OptionMethodDescending");
    statusBar_ = &Get<StatusBar>("StatusBarClutterwise");
    systemMenu_ = &Get<SystemMenu>("SystemMenuClutterwise");
}

// Lists the desktop's shortcuts oldest first and starts a new order from nothing.
void FormClutterwise::LoadItems() {
    std::vector<std::string> rows;
    {
        const TraceStep trace("scan");
        rows = Titles(ScanDesktopItems(Files(), desktopFolder_));
    }
    ReplaceRows(current_->Hwnd(), rows);
    itemsAdd_->SetEnabled(current_->SelCount() > 0);
    itemsRemove_->SetEnabled(false);
    ReplaceRows(added_->Hwnd(), {});
    process_->SetEnabled(false);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
    ShowListStatus(kPanelNew, *added_, kNewNoun);
    SetPanelText(kPanelActivity, "");
}

void FormClutterwise::ShowListStatus(std::int16_t panel, const ListBox& list, const char* noun) {
    SetPanelText(panel, ListStatusText(list.ListCount(), list.SelCount(), noun));
}

void FormClutterwise::SetPanelText(std::int16_t panel, const std::string& text) {
    if (Panel* p = statusBar_->Panel(panel))
        p->SetText(text);
}

void FormClutterwise::ListItemsCurrent_Click() {
    const BusyCursor busy(*this);
    itemsAdd_->SetEnabled(current_->SelCount() > 0);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
}

void FormClutterwise::ListItemsNew_Click() {
    const BusyCursor busy(*this);
    itemsRemove_->SetEnabled(added_->SelCount() > 0);
    ShowListStatus(kPanelNew, *added_, kNewNoun);
}

void FormClutterwise::ListItemsCurrent_DblClick() {
    const BusyCursor busy(*this);
    CommandItemsAdd_Click();
}

void FormClutterwise::ListItemsNew_DblClick() {
    const BusyCursor busy(*this);
    CommandItemsRemove_Click();
}

void FormClutterwise::ListItemsCurrent_KeyDown(int keyCode) {
    const BusyCursor busy(*this);
    if (keyCode == VK_RETURN && current_->ListCount() > 0)
        CommandItemsAdd_Click();
}

void FormClutterwise::ListItemsNew_KeyDown(int keyCode) {
    const BusyCursor busy(*this);
    if (keyCode == VK_RETURN && added_->ListCount() > 0)
        CommandItemsRemove_Click();
}

void FormClutterwise::CommandItemsAdd_Click() {
    const BusyCursor busy(*this);
    MoveSelectedRows(current_->Hwnd(), added_->Hwnd());
    itemsAdd_->SetEnabled(current_->SelCount() > 0);
    process_->SetEnabled(current_->ListCount() == 0);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
    ShowListStatus(kPanelNew, *added_, kNewNoun);
}

void FormClutterwise::CommandItemsRemove_Click() {
    const BusyCursor busy(*this);
    MoveSelectedRows(added_->Hwnd(), current_->Hwnd());
    itemsRemove_->SetEnabled(added_->SelCount() > 0);
    process_->SetEnabled(current_->ListCount() == 0);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
    ShowListStatus(kPanelNew, *added_, kNewNoun);
}

void FormClutterwise::CommandSelectall_Click() {
    const BusyCursor busy(*this);
    SendMessageA(current_->Hwnd(), LB_SETSEL, TRUE, -1); // every row
    itemsAdd_->SetEnabled(current_->SelCount() > 0);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
}

void FormClutterwise::CommandRefresh_Click() {
    const BusyCursor busy(*this);
    LoadItems();
}

// Stamps the new order's files one step apart. A failure that ends the run early leaves the
// desktop as it is and says what went wrong; files stamped before it keep their new times.
void FormClutterwise::CommandProcess_Click() {
    const BusyCursor busy(*this);
    SetPanelText(kPanelActivity, "Processing items...");
    if (const HWND bar = statusBar_->ControlHwnd())
        UpdateWindow(bar); // seen while the run holds the message loop
    try {
        std::int16_t step = 0;
        if (ascending_->Value())
            step = kStepAscending;
        else if (descending_->Value())
            step = kStepDescending;
        StampNewOrder(Files(), desktopFolder_, ReadRows(added_->Hwnd()), step,
                      [](const std::string& path) {
                          Program::MsgBox("Error accessing " + path, MessageIcon::Exclamation);
                      });
        DesktopWindow().Arrange();
        DesktopWindow().Refresh();
        SetPanelText(kPanelActivity, "");
        Program::MsgBox(kArrangeByDate, MessageIcon::Information);
    } catch (const std::exception& failure) {
        SetPanelText(kPanelActivity, "");
        Program::MsgBox(failure.what(), MessageIcon::Exclamation);
    }
}

void FormClutterwise::SystemMenuClutterwise_ItemClick(SystemMenuItem& item) {
    // This window is disabled while the box is open, but a command sent to it still arrives:
    // one box at a time.
    if (aboutOpen_)
        return;
    const BusyCursor busy(*this);
    FormAbout about;
    const VersionInfo& version = Program::Version();
    about.SetApplication("Clutterwise " + std::to_string(version.major) + "." +
                         std::to_string(version.minor));
    about.SetCopyright(version.legalCopyright);
    about.SetWebsite(kMakerWebsite);
    about.SetIcon2(Icon());
    if (!about.Load(Hwnd())) {
        Program::MsgBox(about.LoadError(), MessageIcon::Exclamation); // a broken design
        return;
    }
    about.SetCaption(AboutCaption(item.Text()));
    aboutOpen_ = true;
    about.ShowModal(Hwnd());
    aboutOpen_ = false;
}

} // namespace cw
