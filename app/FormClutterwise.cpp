#include "FormClutterwise.h"

#include "Program.h"
#include "SpecialFolders.h"
#include "Startup.h"

namespace cw {

FormClutterwise::FormClutterwise() : Form("FormClutterwise") {}

FileSystem& FormClutterwise::Files() {
    if (!fileSystem_)
        fileSystem_ = std::make_unique<FileSystem>();
    return *fileSystem_;
}

void FormClutterwise::Form_Load() {
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

} // namespace cw
