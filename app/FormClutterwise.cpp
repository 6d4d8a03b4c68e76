#include "FormClutterwise.h"

#include "BusyCursor.h"
#include "FormAbout.h"
#include "Program.h"
#include "SpecialFolders.h"
#include "Startup.h"
#include "SystemMenu.h"

namespace cw {
namespace {

constexpr const char* kMakerWebsite = "https://www.example.com/clutterwise/";

} // namespace

FormClutterwise::FormClutterwise() : Form("FormClutterwise") {}

FileSystem& FormClutterwise::Files() {
    if (!fileSystem_)
        fileSystem_ = std::make_unique<FileSystem>();
    return *fileSystem_;
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
    desktopFolder_ = Files().AddFolderBackslash(folders.GetSpecialFolder(0)); // CSIDL_DESKTOP
    if (!IsUsableDesktopFolder(desktopFolder_)) {
        Unload(); // no desktop to order: end without a word
        return;
    }
    LoadItems();
}

void FormClutterwise::LoadItems() {}

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
