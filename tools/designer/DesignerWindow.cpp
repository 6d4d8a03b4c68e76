#include "tools/designer/DesignerWindow.h"

#include "forms/Component.h"
#include "forms/PropertyPage.h"
#include "tools/designer/ComponentKinds.h"
#include "tools/designer/PropertySheetHost.h"
#include "win32/Barrier.h"
#include "win32/Dpi.h"
#include "win32/OwnWindow.h"

#include <commdlg.h>

#include <iterator>

namespace cw {
namespace {

constexpr const char* kClassName = "ClutterwiseDesigner";
constexpr const char* kTitle = "Clutterwise Designer";

enum : int {
    kOpen = 101,
    kSave,
    kSaveAs,
    kExit,
    kInsertFirst = 200, // one command per insertable kind
    kProperties = 301,
    kList = 401,
};

HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kOpen, "&Open...\tCtrl+O");
    AppendMenuA(file, MF_STRING, kSave, "&Save\tCtrl+S");
    AppendMenuA(file, MF_STRING, kSaveAs, "Save &As...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kExit, "E&xit");
    HMENU insert = CreatePopupMenu();
    for (size_t i = 0; i < InsertableKinds().size(); ++i)
        AppendMenuA(insert, MF_STRING, kInsertFirst + i, InsertableKinds()[i].menuText);
    HMENU component = CreatePopupMenu();
    AppendMenuA(component, MF_STRING, kProperties, "&Properties...\tF4");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(insert), "&Insert");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(component), "&Component");
    return bar;
}

HACCEL MakeAccelerators() {
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'O', kOpen},
                    {FVIRTKEY | FCONTROL, 'S', kSave},
                    {FVIRTKEY, VK_F4, kProperties}};
    return CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys)));
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Within(HWND window, HWND top) {
    return top && (window == top || IsChild(top, window));
}

} // namespace

DesignerWindow::DesignerWindow() {
    document_.ModifiedChanged = [this] { UpdateTitle(); };
}

DesignerWindow::~DesignerWindow() {
    document_.ModifiedChanged = nullptr;
    document_.Close();
    DestroyLinkedWindow(hwnd_);
}

bool DesignerWindow::Create() {
    RegisterOwnClass(kClassName, &DesignerWindow::WindowProc, 0, ButtonFace(),
                     LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    // Measures are pixels at 96 dpi, scaled to the window's DPI.
    const int start = SystemDpi();
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, kTitle, WS_OVERLAPPEDWINDOW,
                            ScaleForDpi(20, start), ScaleForDpi(20, start), ScaleForDpi(340, start),
                            ScaleForDpi(460, start), nullptr, MakeMenu(), GetModuleHandleA(nullptr),
                            this);
    if (!hwnd_)
        return false;
    label_ = CreateWindowExA(0, "Static", "&Components:", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 0, 0, 0,
                            0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kList)),
                            GetModuleHandleA(nullptr), nullptr);
    status_ = CreateWindowExA(0, "Static", "Open a saved design (File > Open).",
                              WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, hwnd_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    accelerators_.Reset(MakeAccelerators());
    SetDpi(WindowDpi(hwnd_));
    return true;
}

int DesignerWindow::Scaled(int pixelsAt96) const {
    return ScaleForDpi(pixelsAt96, dpi_);
}

// The font and the layout at the window's DPI.
void DesignerWindow::SetDpi(int dpi) {
    dpi_ = dpi;
    const GdiFont previous = std::move(font_); // held until no child uses it
    font_ = GdiFont(Font{"MS Shell Dlg", 8.0}, dpi_);
    for (HWND child : {label_, list_, status_})
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    Layout();
}

void DesignerWindow::Layout() {
    RECT r{};
    GetClientRect(hwnd_, &r);
    const int margin = Scaled(8), width = r.right - 2 * margin;
    MoveWindow(label_, margin, margin, width, Scaled(16), TRUE);
    MoveWindow(list_, margin, Scaled(26), width, r.bottom - Scaled(26 + 64), TRUE);
    MoveWindow(status_, margin, r.bottom - Scaled(56), width, Scaled(48), TRUE);
}

bool DesignerWindow::OpenFile(const std::string& path) {
    if (!QuerySave())
        return false;
    if (!document_.Open(path, hwnd_)) {
        MessageBoxA(hwnd_, document_.Error().c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ShowDesign(nullptr);
    FillList();
    const auto components = document_.Components();
    Select(components.empty() ? std::string() : components.front().name);
    UpdateTitle();
    return true;
}

bool DesignerWindow::QuerySave() {
    if (!document_.IsOpen() || !document_.Modified())
        return true;
    const std::string question = "Save the changes to " + FileName(document_.Path()) + "?";
    switch (MessageBoxA(hwnd_, question.c_str(), kTitle, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return Save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool DesignerWindow::Save() {
    if (!document_.IsOpen())
        return false;
    if (document_.Save())
        return true;
    MessageBoxA(hwnd_, document_.Error().c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool DesignerWindow::InsertComponent(const std::string& kind) {
    for (const InsertableKind& insertable : InsertableKinds()) {
        if (lstrcmpiA(insertable.kind, kind.c_str()) != 0 || !document_.IsOpen())
            continue;
        RECT place{};
        GetWindowRect(document_.Window().Hwnd(), &place);
        const bool shown = IsWindowVisible(document_.Window().Hwnd()) != FALSE;
        const std::string name = document_.Insert(insertable.kind, insertable.layout);
        if (name.empty()) {
            SetStatus(document_.Error());
            return false;
        }
        ShowDesign(shown ? &place : nullptr);
        FillList();
        Select(name);
        return true;
    }
    return false;
}

// Beside the designer, or where the user had moved it.
void DesignerWindow::ShowDesign(const RECT* place) {
    HWND form = document_.Window().Hwnd();
    document_.Window().Show();
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int x = place ? place->left : r.right + 8;
    const int y = place ? place->top : r.top;
    SetWindowPos(form, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesignerWindow::FillList() {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const auto& component : document_.Components()) {
        const std::string entry = component.name + " (" + component.kind + ")";
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

void DesignerWindow::Select(const std::string& name) {
    selected_.clear();
    int row = -1;
    std::string kind;
    const auto components = document_.Components();
    for (size_t i = 0; i < components.size(); ++i)
        if (lstrcmpiA(components[i].name.c_str(), name.c_str()) == 0) {
            selected_ = components[i].name;
            kind = components[i].kind;
            row = static_cast<int>(i);
        }
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    if (selected_.empty())
        SetStatus(document_.IsOpen() ? "Click a component to select it." : "");
    else if (MakePropertyPage(kind))
        SetStatus(selected_ + " (" + kind + ")\nF4 or a double click opens its property page.");
    else
        SetStatus(selected_ + " (" + kind + ")\nThis component has no property page.");
}

void DesignerWindow::ShowProperties() {
    Component* component = document_.FindComponent(selected_);
    std::string kind;
    for (const auto& info : document_.Components())
        if (info.name == selected_)
            kind = info.kind;
    std::unique_ptr<PropertyPage> page = component ? MakePropertyPage(kind) : nullptr;
    if (!page)
        return;
    // Modal over both the designer and the designed window.
    HWND form = document_.Window().Hwnd();
    EnableWindow(form, FALSE);
    PropertySheetHost sheet(*page, {component});
    sheet.Run(hwnd_, selected_);
    EnableWindow(form, TRUE);
}

void DesignerWindow::UpdateTitle() {
    if (!hwnd_)
        return;
    std::string title = kTitle;
    if (document_.IsOpen())
        title = FileName(document_.Path()) + (document_.Modified() ? "*" : "") + " - " + title;
    SetWindowTextA(hwnd_, title.c_str());
}

void DesignerWindow::SetStatus(const std::string& text) {
    SetWindowTextA(status_, text.c_str());
}

std::string DesignerWindow::ComponentAt(HWND window) const {
    if (!document_.IsOpen())
        return {};
    HWND form = document_.Window().Hwnd();
    for (HWND w = window; w && w != form; w = GetParent(w))
        for (const auto& info : document_.Components())
            if (const Component* c = document_.FindComponent(info.name); c && c->Hwnd() == w)
                return info.name;
    return {};
}

bool DesignerWindow::PreTranslate(MSG& msg) {
    HWND form = document_.IsOpen() ? document_.Window().Hwnd() : nullptr;
    if (!Within(msg.hwnd, form))
        return false;
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        TranslateAcceleratorA(hwnd_, accelerators_.Get(), &msg); // the designer's keys still work
        return true;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
            Select(ComponentAt(msg.hwnd));
        else if (msg.message == WM_LBUTTONDBLCLK) {
            Select(ComponentAt(msg.hwnd));
            PostMessageA(hwnd_, WM_COMMAND, kProperties, 0);
        }
        return true;
    }
    // The frame: moving by the title bar only, no closing, sizing or system menu.
    if (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK)
        return !(msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCAPTION);
    return false;
}

int DesignerWindow::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg))
            continue;
        if (TranslateAcceleratorA(hwnd_, accelerators_.Get(), &msg))
            continue;
        if (IsDialogMessageA(hwnd_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

std::string DesignerWindow::ChooseFile(bool save) const {
    char path[MAX_PATH] = "";
    if (save && document_.IsOpen())
        lstrcpynA(path, document_.Path().c_str(), MAX_PATH);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = "Saved designs (*.design)\0*.design\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "design";
    ofn.Flags =
        OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    return chosen ? std::string(path) : std::string();
}

void DesignerWindow::Command(int id) {
    switch (id) {
    case kOpen:
        if (const std::string path = ChooseFile(false); !path.empty())
            OpenFile(path);
        break;
    case kSave:
        Save();
        break;
    case kSaveAs:
        if (!document_.IsOpen())
            break;
        if (const std::string path = ChooseFile(true); !path.empty() && !document_.SaveAs(path))
            MessageBoxA(hwnd_, document_.Error().c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
        UpdateTitle();
        break;
    case kExit:
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        break;
    case kProperties:
        ShowProperties();
        break;
    default:
        if (id >= kInsertFirst && id < kInsertFirst + static_cast<int>(InsertableKinds().size()))
            InsertComponent(InsertableKinds()[static_cast<size_t>(id - kInsertFirst)].kind);
    }
}

LRESULT DesignerWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kList && lParam) {
            const auto row = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
            const auto components = document_.Components();
            if (row >= 0 && row < static_cast<int>(components.size())) {
                if (HIWORD(wParam) == LBN_SELCHANGE)
                    Select(components[static_cast<size_t>(row)].name);
                else if (HIWORD(wParam) == LBN_DBLCLK)
                    ShowProperties();
            }
            return 0;
        }
        Command(LOWORD(wParam));
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_DPICHANGED: {
        SetDpi(LOWORD(wParam)); // laid out again at the new size that follows
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        if (QuerySave())
            DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        document_.Close();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT CALLBACK DesignerWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = LinkedObject<DesignerWindow>(hwnd, msg, lParam);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return Barrier([&] { return self->HandleMessage(msg, wParam, lParam); });
}

} // namespace cw
