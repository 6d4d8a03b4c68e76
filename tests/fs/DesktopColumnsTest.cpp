// Where the date-sorted desktop starts each column: the arithmetic, the shell icons the user's
// settings show, and the two ways of asking (the desktop's icon view, built here since Wine has
// none, and the system's icon spacing).
#include "fs/DesktopColumns.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>

using namespace cw;

namespace {

constexpr const char* kHideDesktopIcons =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
constexpr const char* kRecycleBin = "{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kThisPc = "{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr const char* kNetwork = "{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}";

// Sets the prefix's HideDesktopIcons values for one test and puts the earlier ones back.
class ShellIconSettings {
public:
    ~ShellIconSettings() {
        for (const auto& [name, value] : saved_)
            if (value)
                RegSetKeyValueA(HKEY_CURRENT_USER, kHideDesktopIcons, name.c_str(), REG_DWORD,
                                &*value, sizeof(DWORD));
            else
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kHideDesktopIcons, name.c_str());
    }
    void Hide(const char* clsid, DWORD hidden) {
        if (!saved_.count(clsid)) {
            DWORD value = 0, size = sizeof value;
            saved_[clsid] = RegGetValueA(HKEY_CURRENT_USER, kHideDesktopIcons, clsid,
                                         RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
                                ? std::optional<DWORD>(value)
                                : std::nullopt;
        }
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kHideDesktopIcons, clsid, REG_DWORD, &hidden,
                                  sizeof hidden),
                  ERROR_SUCCESS);
    }
    void Unset(const char* clsid) {
        Hide(clsid, 0);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kHideDesktopIcons, clsid);
    }

private:
    std::map<std::string, std::optional<DWORD>> saved_;
};

int WorkAreaHeight() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work.bottom - work.top;
}

} // namespace

TEST(DesktopColumns, IconsPerColumnFollowTheWorkAreaTheSpacingAndTheScale) {
    const struct {
        int height, spacing, spacingDpi, screenDpi, perColumn;
    } cases[] = {{1024, 75, 96, 96, 13},   {1536, 75, 96, 96, 20},  {984, 75, 96, 96, 13},
                 {1536, 75, 96, 144, 13},  {2048, 75, 96, 192, 13}, {1440, 113, 144, 144, 12},
                 {1024, 113, 144, 96, 13}, {50, 75, 96, 96, 1},     {1024, 0, 96, 96, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(IconsPerColumn(c.height, c.spacing, c.spacingDpi, c.screenDpi), c.perColumn)
            << c.height << " / " << c.spacing << " at " << c.spacingDpi << " on " << c.screenDpi;
}

TEST(DesktopColumns, RulesStartEachColumnAfterTheShellIcons) {
    const struct {
        int rows, perColumn, shellIcons;
        std::vector<ColumnRule> rules;
    } cases[] = {
        {0, 13, 1, {}},
        {1, 13, 1, {}},
        {12, 13, 1, {}},
        {13, 13, 1, {{12, 2}}},
        {40, 13, 1, {{12, 2}, {25, 3}, {38, 4}}},
        {40, 13, 0, {{13, 2}, {26, 3}, {39, 4}}},
        {40, 20, 5, {{15, 2}, {35, 3}}},
        {3, 2, 2, {{0, 2}, {2, 3}}}, // the shell's icons fill the first column
        {3, 1, 0, {{1, 2}, {2, 3}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnRules(c.rows, c.perColumn, c.shellIcons), c.rules)
            << c.rows << " rows, " << c.perColumn << " a column, " << c.shellIcons
            << " shell icons";
    const std::vector<ColumnRule> many = ColumnRules(30000, 13, 1);
    ASSERT_EQ(many.size(), 2307u);
    EXPECT_EQ(many.back(), (ColumnRule{29990, 2308}));
}

TEST(DesktopColumns, ShellIconsFollowTheUsersSettingsWithTheRecycleBinAloneUnset) {
    ShellIconSettings settings;
    for (const char* clsid : {kRecycleBin, kThisPc, kNetwork})
        settings.Unset(clsid);
    EXPECT_EQ(ShellIconsShown(), 1);
    settings.Hide(kRecycleBin, 1);
    EXPECT_EQ(ShellIconsShown(), 0);
    settings.Hide(kThisPc, 0);
    settings.Hide(kNetwork, 0);
    EXPECT_EQ(ShellIconsShown(), 2);
    EXPECT_EQ(QueryDesktopColumns().shellIcons, 2);
}

TEST(DesktopColumns, AreAskedOfTheDesktopsIconViewElseWorkedOutFromTheSystemsSpacing) {
    int spacing = 0;
    SystemParametersInfoA(SPI_ICONVERTICALSPACING, 0, &spacing, 0);
    ASSERT_GT(spacing, 0);
    DesktopColumns columns = QueryDesktopColumns();
    EXPECT_FALSE(columns.fromIconView) << "Wine has no desktop icon view";
    EXPECT_EQ(columns.perColumn, WorkAreaHeight() / spacing);

    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA program{};
    program.lpfnWndProc = DefWindowProcA;
    program.lpszClassName = "Progman";
    RegisterClassA(&program);
    WNDCLASSA view = program;
    view.lpszClassName = "SHELLDLL_DefView";
    RegisterClassA(&view);
    const HWND top =
        CreateWindowA("Progman", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    const HWND shell =
        CreateWindowA("SHELLDLL_DefView", "", WS_CHILD, 0, 0, 9, 9, top, nullptr, nullptr, nullptr);
    const HWND icons = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | LVS_ICON, 0, 0, 9, 9, shell,
                                     nullptr, nullptr, nullptr);
    SendMessageA(icons, LVM_SETICONSPACING, 0, MAKELPARAM(90, 100));
    columns = QueryDesktopColumns();
    DestroyWindow(top);
    EXPECT_TRUE(columns.fromIconView);
    EXPECT_EQ(columns.perColumn, WorkAreaHeight() / 100);
}
