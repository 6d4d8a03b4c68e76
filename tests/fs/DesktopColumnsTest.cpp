// Where the date-sorted desktop starts each column: the arithmetic, and the fall-back on the
// system's icon spacing with the shell icons the user's settings show.
#include "fs/DesktopColumns.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

using namespace cw;

TEST(DesktopColumns, FollowTheWorkAreaTheSpacingTheScaleAndTheShellIconsBeforeTheRows) {
    const struct {
        int height, spacing, spacingDpi, screenDpi, perColumn;
    } sizes[] = {{1024, 75, 96, 96, 13},   {1536, 75, 96, 96, 20},  {984, 75, 96, 96, 13},
                 {1536, 75, 96, 144, 13},  {2048, 75, 96, 192, 13}, {1440, 113, 144, 144, 12},
                 {1024, 113, 144, 96, 13}, {50, 75, 96, 96, 1},     {1024, 0, 96, 96, 1}};
    for (const auto& c : sizes)
        EXPECT_EQ(IconsPerColumn(c.height, c.spacing, c.spacingDpi, c.screenDpi), c.perColumn)
            << c.height << " / " << c.spacing << " at " << c.spacingDpi << " on " << c.screenDpi;
    const struct {
        int rows, perColumn, shellIcons;
        std::vector<ColumnRule> rules;
    } rules[] = {{0, 13, 1, {}},
                 {1, 13, 1, {}},
                 {13, 13, 1, {{12, 2}}},
                 {40, 13, 1, {{12, 2}, {25, 3}, {38, 4}}},
                 {40, 13, 0, {{13, 2}, {26, 3}, {39, 4}}},
                 {40, 20, 5, {{15, 2}, {35, 3}}},
                 {3, 2, 2, {{0, 2}, {2, 3}}}, // the shell's icons fill the first column
                 {3, 1, 0, {{1, 2}, {2, 3}}}};
    for (const auto& c : rules)
        EXPECT_EQ(ColumnRules(c.rows, c.perColumn, c.shellIcons), c.rules)
            << c.rows << " rows, " << c.perColumn << " a column, " << c.shellIcons
            << " shell icons";
    const std::vector<ColumnRule> many = ColumnRules(30000, 13, 1);
    ASSERT_EQ(many.size(), 2307u);
    EXPECT_EQ(many.back(), (ColumnRule{29990, 2308}));
}

// Wine has no desktop icon view: the system's spacing is what the tests see.
TEST(DesktopColumns, AreWorkedOutFromTheSystemsSpacingAndTheUsersShellIcons) {
    constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
    const char* const clsids[] = {"{645FF040-5081-101B-9F08-00AA002F954E}",  // Recycle Bin
                                  "{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}; // This PC
    const auto set = [&](int i, std::optional<DWORD> hidden) {
        if (hidden)
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, clsids[i], REG_DWORD, &*hidden, sizeof(DWORD));
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, clsids[i]);
    };
    std::optional<DWORD> saved[2];
    for (int i = 0; i < 2; ++i) {
        DWORD value = 0, size = sizeof value;
        if (RegGetValueA(HKEY_CURRENT_USER, kKey, clsids[i], RRF_RT_REG_DWORD, nullptr, &value,
                         &size) == ERROR_SUCCESS)
            saved[i] = value;
        set(i, std::nullopt);
    }
    const int shownUnset = ShellIconsShown();
    set(0, 1);
    const int binHidden = ShellIconsShown();
    set(1, 0);
    const DesktopColumns fallBack = QueryDesktopColumns();
    for (int i = 0; i < 2; ++i)
        set(i, saved[i]);
    EXPECT_EQ(shownUnset, 1);
    EXPECT_EQ(binHidden, 0);
    EXPECT_EQ(fallBack.shellIcons, 1);
    int spacing = 0;
    RECT work{};
    SystemParametersInfoA(SPI_ICONVERTICALSPACING, 0, &spacing, 0);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_FALSE(fallBack.fromIconView);
    EXPECT_EQ(fallBack.perColumn, (work.bottom - work.top) / spacing);
}
