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

#include <exception>

namespace cw {
namespace {

constexpr const char* kMakerWebsite = "https://www.example.com/clutterwise/";

constexpr const char* kCurrentNoun = "current item";
constexpr const char* kNewNoun = "new item";
constexpr int kKeyEnter = 13;

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
    if (auto* menu = GetComponent<SystemMenu>("SystemMenuClutterwise"))
        menu->ItemClick = [this](SystemMenuItem& item) { SystemMenuClutterwise_ItemClick(item); };
    Program::SetTitle(ProgramTitle(Program::Version().companyName));
    if (Program::PrevInstance()) {
        Program::MsgBox("The application is already active", MessageIcon::Exclamation);
        Unload(); // the window goes before it was ever shown
        return;
    }
    const SpecialFolders folders;
    const std::string named = folders.GetSpecialFolder(0); // CSIDL_DESKTOP
    desktopFolder_ = Files().AddFolderBackslash(named);
    if (!IsUsableDesktopFolder(desktopFolder_)) {
        Unload(); // no desktop to order: end without a word
        return;
    }
    if (!Files().IsFolder(desktopFolder_)) {
        // Named but not there (a drive or share gone): an empty list would say all is well.
        Program::MsgBox("The desktop folder " + named + " cannot be found.",
                        MessageIcon::Exclamation);
        Unload();
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

// Lists the desktop's shortcuts oldest first and starts a new order from nothing.
void FormClutterwise::LoadItems() {
    ListBox& current = Get<ListBox>("ListItemsCurrent");
    ListBox& added = Get<ListBox>("ListItemsNew");
    ReplaceRows(current.Hwnd(), Titles(ScanDesktopItems(Files(), desktopFolder_)));
    Get<Control>("CommandItemsAdd").SetEnabled(current.SelCount() > 0);
    Get<Control>("CommandItemsRemove").SetEnabled(false);
    ReplaceRows(added.Hwnd(), {});
    Get<Control>("CommandProcess").SetEnabled(false);
    ShowListStatus(0, current, kCurrentNoun);
    ShowListStatus(1, added, kNewNoun);
    SetPanelText(2, "");
}

void FormClutterwise::MoveSelectedItems(ListBox& source, ListBox& target) {
    MoveSelectedRows(source.Hwnd(), target.Hwnd());
}

void FormClutterwise::ShowListStatus(int panel, const ListBox& list, const char* noun) {
    SetPanelText(panel, ListStatusText(list.ListCount(), list.SelCount(), noun));
}

void FormClutterwise::SetPanelText(int panel, const std::string& text) {
    if (auto* bar = GetComponent<StatusBar>("StatusBarClutterwise"))
        if (Panel* p = bar->Panel(static_cast<std::int16_t>(panel)))
            p->SetText(text);
}

void FormClutterwise::ListItemsCurrent_Click() {
    const BusyCursor busy(*this);
    Get<Control>("CommandItemsAdd").SetEnabled(Get<ListBox>("ListItemsCurrent").SelCount() > 0);
    ShowListStatus(0, Get<ListBox>("ListItemsCurrent"), kCurrentNoun);
}

void FormClutterwise::ListItemsNew_Click() {
    const BusyCursor busy(*this);
    Get<Control>("CommandItemsRemove").SetEnabled(Get<ListBox>("ListItemsNew").SelCount() > 0);
    ShowListStatus(1, Get<ListBox>("ListItemsNew"), kNewNoun);
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
    if (keyCode == kKeyEnter && Get<ListBox>("ListItemsCurrent").ListCount() > 0)
        CommandItemsAdd_Click();
}

void FormClutterwise::ListItemsNew_KeyDown(int keyCode) {
    const BusyCursor busy(*this);
    if (keyCode == kKeyEnter && Get<ListBox>("ListItemsNew").ListCount() > 0)
        CommandItemsRemove_Click();
}

void FormClutterwise::CommandItemsAdd_Click() {
    const BusyCursor busy(*this);
    ListBox& current = Get<ListBox>("ListItemsCurrent");
    ListBox& added = Get<ListBox>("ListItemsNew");
    MoveSelectedItems(current, added);
    Get<Control>("CommandItemsAdd").SetEnabled(current.SelCount() > 0);
    Get<Control>("CommandProcess").SetEnabled(current.ListCount() == 0);
    ShowListStatus(0, current, kCurrentNoun);
    ShowListStatus(1, added, kNewNoun);
}

void FormClutterwise::CommandItemsRemove_Click() {
    const BusyCursor busy(*this);
    ListBox& current = Get<ListBox>("ListItemsCurrent");
    ListBox& added = Get<ListBox>("ListItemsNew");
    MoveSelectedItems(added, current);
    Get<Control>("CommandItemsRemove").SetEnabled(added.SelCount() > 0);
    Get<Control>("CommandProcess").SetEnabled(current.ListCount() == 0);
    ShowListStatus(0, current, kCurrentNoun);
    ShowListStatus(1, added, kNewNoun);
}

void FormClutterwise::CommandSelectall_Click() {
    const BusyCursor busy(*this);
    ListBox& current = Get<ListBox>("ListItemsCurrent");
    if (current.Hwnd())
        SendMessageA(current.Hwnd(), LB_SETSEL, TRUE, -1); // every row
    Get<Control>("CommandItemsAdd").SetEnabled(current.SelCount() > 0);
    ShowListStatus(0, current, kCurrentNoun);
}

void FormClutterwise::CommandRefresh_Click() {
    const BusyCursor busy(*this);
    LoadItems();
}

// Stamps the new order's files one step apart. A failure that ends the run early leaves the
// desktop as it is and says what went wrong; files stamped before it keep their new times.
void FormClutterwise::CommandProcess_Click() {
    // The run holds the message loop and its boxes run loops of their own: a click given
    // meanwhile (the second half of a double-click) would otherwise start a run on top of it.
    if (processing_)
        return;
    processing_ = true;
    struct Done {
        bool& processing;
        ~Done() { processing = false; }
    } const done{processing_};
    const auto say = [](const std::string& text, MessageIcon icon) {
        Program::DiscardInput(); // given while the run was busy, not meant for the box
        Program::MsgBox(text, icon);
    };
    const BusyCursor busy(*this);
    SetPanelText(2, "Processing items...");
    if (auto* bar = GetComponent<StatusBar>("StatusBarClutterwise"); bar && bar->ControlHwnd())
        UpdateWindow(bar->ControlHwnd()); // seen while the run holds the message loop
    try {
        std::int16_t step = 0;
        if (Get<OptionButton>("OptionMethodAscending").Value())
            step = kStepAscending;
        else if (Get<OptionButton>("OptionMethodDescending").Value())
            step = kStepDescending;
        StampNewOrder(Files(), desktopFolder_, ReadRows(Get<ListBox>("ListItemsNew").Hwnd()), step,
                      [&](const std::string& path) {
                          say("Error accessing " + path, MessageIcon::Exclamation);
                      });
        DesktopWindow().Arrange();
        DesktopWindow().Refresh();
        SetPanelText(2, "");
        say(kArrangeByDate, MessageIcon::Information);
    } catch (const std::exception& failure) {
        SetPanelText(2, "");
        say(failure.what(), MessageIcon::Exclamation);
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
    if (!about.Load(Hwnd()))
        return;
    about.SetCaption(AboutCaption(item.Text()));
    aboutOpen_ = true;
    about.ShowModal(Hwnd());
    aboutOpen_ = false;
}

} // namespace cw
