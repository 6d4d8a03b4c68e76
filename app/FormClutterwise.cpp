#include "app/FormClutterwise.h"

#include "app/AllUsersRights.h"
#include "app/DesktopItems.h"
#include "app/FinalBox.h"
#include "app/FormAbout.h"
#include "app/ItemLists.h"
#include "app/ItemLooks.h"
#include "app/Journal.h"
#include "app/NewOrder.h"
#include "app/ReapplyAtSignIn.h"
#include "app/Repair.h"
#include "app/Runs.h"
#include "app/Startup.h"
#include "app/WindowPlace.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/systemmenu/SystemMenu.h"
#include "forms/BusyCursor.h"
#include "forms/CheckBox.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
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

// Posted at start: the drift is told once the window has shown its lists.
constexpr UINT kShowDrift = ItemLooks::kIconsCame + 1;

} // namespace

FormClutterwise::FormClutterwise() : Form("FormClutterwise") {
    using F = FormClutterwise;
    BindEvents<F>({
        {"ListItemsCurrent", Event::Click, &F::ListItemsCurrent_Click},
        {"ListItemsNew", Event::Click, &F::ListItemsNew_Click},
        {"ListItemsCurrent", Event::DblClick, &F::ListItemsCurrent_DblClick},
        {"ListItemsNew", Event::DblClick, &F::ListItemsNew_DblClick},
        {"ListItemsCurrent", Event::KeyDown, &F::ListItemsCurrent_KeyDown},
        {"ListItemsNew", Event::KeyDown, &F::ListItemsNew_KeyDown},
        {"CommandItemsAdd", Event::Click, &F::CommandItemsAdd_Click},
        {"CommandItemsRemove", Event::Click, &F::CommandItemsRemove_Click},
        {"CommandSelectall", Event::Click, &F::CommandSelectall_Click},
        {"CommandRefresh", Event::Click, &F::CommandRefresh_Click},
        {"CommandProcess", Event::Click, &F::CommandProcess_Click},
        {"CommandUndo", Event::Click, &F::CommandUndo_Click},
        {"CommandReapply", Event::Click, &F::CommandReapply_Click},
        {"CheckReapplyAtSignIn", Event::Click, &F::CheckReapplyAtSignIn_Click},
    });
}

FormClutterwise::~FormClutterwise() {
    looks_.reset(); // before the lists it draws
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

// The desktop found and listed on a thread of its own while the window and its controls are made:
// listing thousands of shortcuts is most of what a start waits for.
void FormClutterwise::Form_Initialize() {
    firstListing_.emplace([] {
        FirstListing listing;
        listing.folders = FindDesktopFolders(FileSystem(), listing.missing);
        if (listing.missing.empty())
            listing.items = ScanDesktopItems(listing.folders, &listing.scanned);
        return listing;
    });
}

void FormClutterwise::Form_Load() {
    ResolveControls();
    reorder_ = std::make_unique<ListReorder>(*added_, current_);
    reorder_->Moved = [this] { ListItemsNew_Click(); };
    reorder_->Dropped = [this](int at) { ListItemsNew_DropFromCurrent(at); };
    systemMenu_->ItemClick = [this](SystemMenuItem& i) { SystemMenuClutterwise_ItemClick(i); };
    looks_ = std::make_unique<ItemLooks>(Hwnd(), *current_, *added_);
    Program::SetTitle(ProgramTitle(Program::Version().companyName));
    if (Program::PrevInstance()) {
        Program::MsgBox("The application is already active", MessageIcon::Exclamation);
        Unload(); // the window goes before it was ever shown
        return;
    }
    FirstListing listing = firstListing_->Get();
    firstListing_.reset();
    folders_ = listing.folders;
    desktopFolder_ = folders_.user;
    listing_ = std::move(listing.scanned);
    if (!listing.missing.empty()) {
        Program::MsgBox(listing.missing, MessageIcon::Exclamation);
        Unload();
        return;
    }
    ShowItems(std::move(listing.items));
    signIn_->SetValue(ReadSignInValue() == SignInValue::ThisProgram);
    // Told once the window has shown its lists: reading the last order costs as much as a scan.
    PostMessageA(Hwnd(), kShowDrift, 0, 0);
    TellOfACutShortRun();
}

// No icon is looked up for, or drawn into, a list that is gone.
void FormClutterwise::Form_Unload() {
    looks_.reset();
    if (IsWindowVisible(Hwnd()))
        KeepWindowPlace(Hwnd(), KeptPlacePath(Journal::UserFolder()));
}

// The size and place of the last start, where its monitor is still there.
bool FormClutterwise::PlaceKept() {
    return RestoreWindowPlace(Hwnd(), KeptPlacePath(Journal::UserFolder()));
}

void FormClutterwise::OnDpiChanged() {
    if (looks_)
        looks_->Rescale(Dpi());
}

void FormClutterwise::OnMessage(UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    if (msg == kShowDrift) {
        // A run begun meanwhile (its boxes run this message) tells the desktop as it leaves it.
        if (processing_)
            listed_.reset();
        UpdateWindow(Hwnd()); // the lists first
        ShowDrift();
    } else if (!looks_) {
        return;
    } else if (msg == ItemLooks::kIconsCame) {
        looks_->Notice(wParam);
    } else if (msg == WM_SETTINGCHANGE || msg == WM_DISPLAYCHANGE) {
        looks_->DesktopChanged();
    }
}

// A design without one of these fails to load, naming it.
void FormClutterwise::ResolveControls() {
    current_ = &Get<ListBox>("ListItemsCurrent");
    added_ = &Get<ListBox>("ListItemsNew");
    itemsAdd_ = &Get<Control>("CommandItemsAdd");
    itemsRemove_ = &Get<Control>("CommandItemsRemove");
    process_ = &Get<Control>("CommandProcess");
    undo_ = &Get<Control>("CommandUndo");
    reapply_ = &Get<Control>("CommandReapply");
    ascending_ = &Get<OptionButton>("OptionMethodAscending");
    descending_ = &Get<OptionButton>("OptionMethodDescending");
    statusBar_ = &Get<StatusBar>("StatusBarClutterwise");
    signIn_ = &Get<CheckBox>("CheckReapplyAtSignIn");
    systemMenu_ = &Get<SystemMenu>("SystemMenuClutterwise");
}

// Lists the desktop's shortcuts oldest first and starts a new order from nothing.
void FormClutterwise::LoadItems() {
    ShowItems(ScanDesktopItems(folders_, &listing_));
    ShowDrift();
}

void FormClutterwise::ShowItems(std::vector<DesktopItem> items) {
    rowFiles_ = RowFilesOf(items);
    if (looks_) {
        const TraceStep trace("icons");
        looks_->Restart(rowFiles_, folders_, Dpi());
    }
    ReplaceRows(current_->Hwnd(), Titles(items));
    itemsAdd_->SetEnabled(current_->SelCount() > 0);
    itemsRemove_->SetEnabled(false);
    ReplaceRows(added_->Hwnd(), {});
    process_->SetEnabled(false);
    ShowListStatus(kPanelCurrent, *current_, kCurrentNoun);
    ShowListStatus(kPanelNew, *added_, kNewNoun);
    SetPanelText(kPanelActivity, "");
    ShowJournalState();
    listed_ = std::move(items);
}

// Shortcuts of the last listing out of the last applied order (re-created, new, re-stamped by
// another program) are told in the status bar, and Reapply Order becomes the default button. A
// journal that cannot be read just now tells nothing here: Reapply Order names it.
void FormClutterwise::ShowDrift() {
    if (!listed_)
        return; // told already
    std::size_t outOfPlace = 0;
    if (const JournalRun* last = RunJournal().LastOrder(desktopFolder_)) {
        const TraceStep trace("drift");
        if (const JournalRun* ordered = RunJournal().ReadOrder(last))
            outOfPlace = CheckReapply(*ordered, *listed_).outOfPlace.size();
    }
    listed_.reset();
    ShowOutOfPlace(outOfPlace);
}

void FormClutterwise::ShowOutOfPlace(std::size_t outOfPlace) {
    SetPanelText(kPanelActivity, DriftText(outOfPlace));
    SetDefaultButton(outOfPlace > 0 ? reapply_ : nullptr);
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

void FormClutterwise::ListItemsCurrent_KeyDown(int& keyCode, int /*shift*/) {
    const BusyCursor busy(*this);
    if (keyCode == VK_RETURN && current_->ListCount() > 0)
        CommandItemsAdd_Click();
}

void FormClutterwise::ListItemsNew_KeyDown(int& keyCode, int /*shift*/) {
    const BusyCursor busy(*this);
    if (keyCode == VK_RETURN && added_->ListCount() > 0)
        CommandItemsRemove_Click();
}

void FormClutterwise::CommandItemsAdd_Click() {
    ListItemsNew_DropFromCurrent(-1);
}

void FormClutterwise::ListItemsNew_DropFromCurrent(int at) {
    const BusyCursor busy(*this);
    MoveSelectedRows(current_->Hwnd(), added_->Hwnd(), at);
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

// One run at a time: a run holds the message loop and its boxes run loops of their own, so a
// click given meanwhile (the second half of a double-click) would otherwise start a run on top of
// it. `activity` shows in the status bar while the run goes; a failure it raises is named in a box.
void FormClutterwise::RunExclusively(const char* activity, const std::function<void()>& run) {
    if (processing_)
        return;
    processing_ = true;
    SetDefaultButton(nullptr); // the user has acted
    struct Done {
        bool& processing;
        ~Done() { processing = false; }
    } const done{processing_};
    // No icon lookup reads a shortcut while the run changes its times (an undo puts back access
    // times that a read would move).
    struct Paused {
        std::unique_ptr<ItemLooks>& looks; // gone if the window is closed meanwhile
        explicit Paused(std::unique_ptr<ItemLooks>& l) : looks(l) {
            if (looks)
                looks->Stop();
        }
        ~Paused() {
            if (looks)
                looks->Resume();
        }
    } const paused{looks_};
    const BusyCursor busy(*this);
    SetPanelText(kPanelActivity, activity);
    if (const HWND bar = statusBar_->ControlHwnd())
        UpdateWindow(bar); // seen while the run holds the message loop
    try {
        run();
    } catch (const std::exception& failure) {
        SetPanelText(kPanelActivity, "");
        Say(failure.what(), MessageIcon::Exclamation);
    }
}

// Input given while a run was busy was not meant for the box that follows it.
void FormClutterwise::Say(const std::string& text, MessageIcon icon) {
    Program::DiscardInput();
    Program::MsgBox(text, icon);
}

// Stamps the new order's files one step apart; files stamped before a failure keep their times.
void FormClutterwise::CommandProcess_Click() {
    RunExclusively("Processing items...", [this] {
        std::int16_t step = 0;
        if (ascending_->Value())
            step = kStepAscending;
        else if (descending_->Value())
            step = kStepDescending;
        const std::optional<Closing> note = StampRows(
            RunKind::Process, FilesOfRows(rowFiles_, ReadRows(added_->Hwnd())), step, listing_);
        if (!note)
            return;
        Background<bool> sorted = TellDesktop(step);
        SetPanelText(kPanelActivity, "");
        SayDone(sorted, *note);
    });
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

Journal& FormClutterwise::RunJournal() {
    if (!journal_)
        journal_ = std::make_unique<Journal>(Journal::UserFolder());
    return *journal_;
}

// Reads the journal again and enables "Undo" and "Reapply Order" by what it holds. A journal that
// cannot be read has been set aside by then and is named once; true when one was.
bool FormClutterwise::ShowJournalState() {
    const TraceStep trace("journal state");
    const std::vector<std::string> setAside = RunJournal().Load();
    if (!setAside.empty()) {
        std::string text = "A journal of earlier runs could not be read and was set aside:";
        for (const std::string& path : setAside)
            text += "\r\n" + path;
        Program::MsgBox(text, MessageIcon::Exclamation);
    }
    undo_->SetEnabled(RunJournal().LatestToUndo() != nullptr);
    reapply_->SetEnabled(RunJournal().LastOrder(desktopFolder_) != nullptr);
    return !setAside.empty();
}

// A run cut short (the program killed, the machine switched off) is told at start: otherwise only
// an enabled Undo would hint at it.
void FormClutterwise::TellOfACutShortRun() {
    const std::vector<Journal::Kept>& runs = RunJournal().Runs();
    if (runs.empty() || !WasCutShort(runs.back().run))
        return;
    if (const JournalRun* whole = ReadRun(&runs.back().run, false))
        if (const std::optional<std::string> notice = CutShortNotice(*whole))
            Say(*notice, MessageIcon::Information);
}

// The run read whole, or up to its order; null when there is none or its journal cannot be read,
// which is said.
const JournalRun* FormClutterwise::ReadRun(const JournalRun* run, bool orderOnly) {
    if (!run)
        return nullptr;
    const std::int64_t number = run->number;
    if (const JournalRun* read =
            orderOnly ? RunJournal().ReadOrder(run) : RunJournal().ReadWhole(run))
        return read;
    if (!ShowJournalState()) // damaged, it has been set aside and named by now
        Say("The journal of run " + std::to_string(number) + " cannot be read just now.",
            MessageIcon::Exclamation);
    return nullptr;
}

// Stamps the rows with the run journaled first; what the closing box adds, which names the rows
// left alone because the journal cannot hold their names. Nothing, with nothing stamped, when the
// journal cannot be written (the run could not be taken back).
std::optional<FormClutterwise::Closing>
FormClutterwise::StampRows(RunKind kind, const std::vector<OrderRow>& rows, std::int16_t step,
                           const DesktopListing& scanned) {
    return Stamped(
        StampJournaled(RunJournal(), Files(), kind, folders_, rows, step, ReportToUser, scanned));
}

void FormClutterwise::ReportToUser(const std::string& path) {
    Say("Error accessing " + path, MessageIcon::Exclamation);
}

std::optional<FormClutterwise::Closing> FormClutterwise::Stamped(StampOutcome outcome) {
    if (!outcome.journaled) {
        SetPanelText(kPanelActivity, "");
        Say("Nothing was stamped: " + RunJournal().Error(), MessageIcon::Exclamation);
    }
    // Files of the all-users desktop Windows refused: asked for once, after the user's own.
    std::vector<std::string> notStamped;
    if (!outcome.refused.empty()) {
        if (Program::AskYesNo(AskForRightsText(outcome.refused.size())))
            notStamped =
                DoWithRights(RunJournal(), outcome.run, outcome.refused, StepAction::Stamp);
        else
            for (const RefusedFile& file : outcome.refused)
                notStamped.push_back(file.path);
    }
    ShowJournalState();
    if (!outcome.journaled)
        return std::nullopt;
    Closing closing;
    closing.notDone = NotDoneText(notStamped, false);
    if (!outcome.unheld.empty())
        closing.note += "\r\n\r\nNot stamped, as the journal cannot hold their names:";
    for (const std::string& row : outcome.unheld)
        closing.note += "\r\n" + row;
    return closing;
}

// Tells the desktop that a run changed times: its icon view arranged, then, on a thread of its own,
// the shell told and its view asked to sort by date in the run's direction. Under Wine reaching the
// shell's windows takes as long as listing the desktop, which the window may do meanwhile. The
// answer: whether the view sorted.
Background<bool> FormClutterwise::TellDesktop(std::int16_t step) {
    {
        const TraceStep trace("arrange");
        DesktopWindow().Arrange();
    }
    return Background<bool>([oldestFirst = step > 0] {
        const Desktop desktop;
        desktop.Refresh();
        return desktop.SortByDate(oldestFirst);
    });
}

// The closing box, once the desktop has answered: whether its view sorted, or what the user does
// instead.
void FormClutterwise::SayDone(Background<bool>& sortedView, const Closing& closing) {
    bool sorted = false;
    {
        const TraceStep trace("sort");
        sorted = sortedView.Get();
    }
    // A run that left files of the all-users desktop as they were never reads as done.
    const std::string text =
        closing.notDone.empty()
            ? FinalBoxText(sorted)
            : closing.notDone +
                  (sorted ? std::string() : std::string("\r\n\r\n") + kSortByDateByHand);
    Say(text + closing.note, MessageIcon::Information);
}

// Puts back the times of the newest run not yet undone, then lists the desktop again.
void FormClutterwise::CommandUndo_Click() {
    ShowJournalState();
    const JournalRun* run = ReadRun(RunJournal().LatestToUndo(), false);
    if (!run)
        return;
    RunExclusively("Restoring times...", [this, run] {
        const std::int16_t step = run->step;
        UndoReport report = UndoRun(RunJournal(), *run, ReportToUser);
        if (!report.refused.empty() && Program::AskYesNo(AskForRightsText(report.refused.size())))
            RestoreWithRights(RunJournal(), report);
        Background<bool> sortedView = TellDesktop(step);
        LoadItems();
        if (!report.saved)
            Say("The undo could not be recorded: " + RunJournal().Error(),
                MessageIcon::Exclamation);
        const bool sorted = sortedView.Get();
        const std::string refused = NotDoneText(report.refused, true);
        Say(UndoSummary(report) + (refused.empty() ? "" : "\r\n" + refused) +
                (sorted ? "" : std::string("\r\n\r\n") + kSortByDateByHand),
            MessageIcon::Information);
    });
}

// Puts the last applied order back: its shortcuts that exist now, in that order, then the others
// in their present time order. Only those out of place are stamped, inside the gaps between the
// others, or the whole order afresh when a gap has no room; nothing at all when none is out of
// place. Then lists the desktop again.
void FormClutterwise::CommandReapply_Click() {
    ShowJournalState();
    // Its order and step are all a reapply takes from the run.
    const JournalRun* last = ReadRun(RunJournal().LastOrder(desktopFolder_), true);
    if (!last)
        return;
    RunExclusively("Processing items...", [this, last] {
        const std::int16_t step = last->step;
        // The window's listing is replaced by this scan's, which is newer.
        std::vector<DesktopItem> items = ScanDesktopItems(folders_, &listing_);
        const ReapplyPlan plan = [&] {
            const TraceStep trace("plan");
            return PlanReapply(*last, items);
        }();
        if (plan.InOrder()) {
            ShowOutOfPlace(0);
            Say(kAlreadyInOrder, MessageIcon::Information);
            return;
        }
        // Only the files the run stamped have changed since the scan: the listing is the scan's,
        // with their times read again. A run afresh lists the desktop again.
        std::vector<std::string> stamped;
        std::optional<Closing> note;
        if (plan.repair.afresh) {
            note = StampRows(RunKind::Reapply, plan.present, step, listing_);
        } else {
            StampOutcome outcome = StampRepair(RunJournal(), folders_, plan, step, ReportToUser);
            for (const JournalEntry& file : outcome.run.files)
                stamped.push_back(file.path);
            note = Stamped(std::move(outcome));
        }
        if (!note)
            return;
        Background<bool> sorted = TellDesktop(step);
        if (plan.repair.afresh) {
            LoadItems();
        } else {
            ShowItems(WithTimesReadAgain(std::move(items), folders_, stamped));
            ShowDrift();
        }
        SayDone(sorted, *note);
    });
}

// Ticked, the user's Run value starts "/reapply" at each sign-in; cleared, the value goes. The box
// then shows what the registry holds, whatever the click asked.
void FormClutterwise::CheckReapplyAtSignIn_Click() {
    const BusyCursor busy(*this);
    const bool wanted = signIn_->Value();
    if (!(wanted ? WriteSignInValue() : RemoveSignInValue()))
        Say(wanted ? "Reapply at sign-in could not be set: the user's Run key cannot be written."
                   : "Reapply at sign-in could not be cleared: the user's Run key cannot be "
                     "written.",
            MessageIcon::Exclamation);
    signIn_->SetValue(ReadSignInValue() == SignInValue::ThisProgram);
}

} // namespace cw
