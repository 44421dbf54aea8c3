// The main window's kept place and its texts that must fit: the placement brought back onto the
// monitors there are now, the lists' column widths, and paths shortened in their middle.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "app/shortened_text.h"
#include "app/window_placement.h"
#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;

constexpr MonitorArea kPrimary{{0, 0, 1920, 1040}, 96};
constexpr MonitorArea kRightHighDpi{{1920, 0, 1920 + 2560, 1400}, 144};
constexpr int kMinWidth = 560;
constexpr int kMinHeight = 520;

struct PlaceCase {
    const char* name;
    WindowPlacement stored;
    std::vector<MonitorArea> monitors;
    ScreenRect expected;
};

TEST(WindowPlacement, ComesBackOntoTheMonitorsThereAreNow) {
    const PlaceCase cases[] = {
        {"kept where it was", {{100, 50, 1000, 800}, 96, false}, {kPrimary}, {100, 50, 1000, 800}},
        {"monitor gone: centred on the primary one",
         {{2100, 100, 2900, 700}, 96, false},
         {kPrimary},
         {560, 220, 1360, 820}},
        {"on a monitor of another DPI: rescaled to it",
         {{2000, 100, 2800, 700}, 96, false},
         {kPrimary, kRightHighDpi},
         {2000, 100, 3200, 1000}},
        {"smaller than the smallest size: grown to it",
         {{10, 10, 200, 100}, 96, false},
         {kPrimary},
         {10, 10, 10 + kMinWidth, 10 + kMinHeight}},
        {"partly off the work area: moved into it",
         {{1700, 900, 2300, 1500}, 96, false},
         {kPrimary},
         {1320, 440, 1920, 1040}},
        {"larger than the work area: fitted to it",
         {{-50, -50, 3000, 2000}, 96, true},
         {kPrimary},
         {0, 0, 1920, 1040}},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placeOnMonitors(c.stored, c.monitors, kMinWidth, kMinHeight), c.expected);
    }
}

TEST(WindowPlacement, IsKeptAcrossAClosedWindowAndDamagedValuesAreIgnored) {
    ProgramRig rig;
    rig.loadMain();
    const WindowPlacement left{{120, 80, 1020, 840}, 120, true};
    rig.mainView().place = left;
    rig.program.unloadMainWindow();

    rig.loadMain();
    ASSERT_TRUE(rig.mainView().restored.has_value());
    EXPECT_EQ(*rig.mainView().restored, left);

    for (const wchar_t* damaged : {L"", L"1 2 3", L"100 100 50 50 96 0", L"0 0 800 600 0 0",
                                   L"0 0 800 600 96 2", L"0 0 800 600 96 1 extra"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(damaged)));
        rig.program.unloadMainWindow();
        rig.settings.values[L" Purgeon|Window|Placement"] = damaged;
        rig.loadMain();
        EXPECT_FALSE(rig.mainView().restored.has_value());
    }
    rig.program.unloadMainWindow();
    rig.settings.refused[L"Placement"] = kErrorAccessDenied;
    rig.log.clear();
    rig.loadMain();
    EXPECT_FALSE(rig.mainView().restored.has_value());
    EXPECT_TRUE(rig.logFile.contains(L"The window's place could not be read: system text 5"));
}

TEST(ColumnWidths, AreKeptForEachListAndDamagedValuesAreIgnored) {
    EXPECT_EQ(columnWidthsText({120, 80, 9999}), L"120,80,9999");
    EXPECT_EQ(parseColumnWidths(L"120,80,9999"), (std::vector<int>{120, 80, 9999}));
    for (const wchar_t* damaged :
         {L"", L",", L"120,", L"120,,80", L"0,80", L"10000,80", L"-5,80", L"12a,80", L"120 ,80"})
        EXPECT_EQ(parseColumnWidths(damaged), std::nullopt) << testing::PrintToString(damaged);

    ProgramRig rig;
    rig.loadMain().Form_Activate();
    rig.mainView().widths = {{Ctl::lstcookies, {200, 150, 90, 60}}, {Ctl::URLs, {300, 20}}};
    rig.program.unloadMainWindow();
    rig.log.clear();
    FrmMain& main = rig.loadMain();
    EXPECT_EQ(rig.mainView().widths,
              (std::map<Ctl, std::vector<int>>{{Ctl::lstcookies, {200, 150, 90, 60}},
                                               {Ctl::URLs, {300, 20}}}));
    // The user's widths stay: the lists' columns are not shared out afresh.
    const auto split = [&](Ctl list) {
        return std::count(rig.log.begin(), rig.log.end(),
                          L"main.splitColumns " + fakes::ctlName(list));
    };
    main.Form_Activate();
    EXPECT_EQ(split(Ctl::lstcookies) + split(Ctl::URLs), 0);

    rig.program.unloadMainWindow();
    rig.settings.values[L" Purgeon|Window|CookieColumns"] = L"200,x";
    rig.settings.refused[L"HistoryColumns"] = kErrorAccessDenied;
    rig.log.clear();
    rig.loadMain().Form_Activate();
    EXPECT_EQ(rig.mainView().widths.count(Ctl::lstcookies), 0u);
    EXPECT_EQ(split(Ctl::lstcookies), 1);
    EXPECT_EQ(split(Ctl::URLs), 1);
    EXPECT_TRUE(
        rig.logFile.contains(L"The widths of a list's columns could not be read: system text 5"));
}

// One character is one unit of width.
FitsWidth within(std::size_t width) {
    return [width](const std::wstring& text) { return text.size() <= width; };
}

TEST(ShortenedText, KeepsThePathsStartAndFileNameAndNeverExceedsTheRoom) {
    const std::wstring path = L"C:\\Users\\someone\\AppData\\Roaming\\Microsoft\\INetCookies";
    struct Case {
        std::wstring text;
        std::size_t width;
        std::wstring expected;
    } cases[] = {
        {path, path.size(), path},
        {path, 30, L"C:\\Users\\someone\\\u2026\\INetCookies"},
        {path, 14, L"C\u2026\\INetCookies"},
        {path, 13, L"\u2026\\INetCookies"},
        // No room for the last part: the start and the end share what there is.
        {path, 12, L"C:\\Use\u2026okies"},
        {path, 7, L"C:\\\u2026ies"},
        {L"Deleting temp folder contents...", 20, L"Deleting t\u2026ntents..."},
        {L"abc", 0, L"\u2026"},
        {L"", 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " in " + std::to_string(c.width));
        const std::wstring shown = shortenedInMiddle(c.text, within(c.width));
        EXPECT_EQ(shown, c.expected);
        if (!c.text.empty() && c.width > 0) {
            EXPECT_LE(shown.size(), c.width);
        }
    }
}

}  // namespace
}  // namespace purgeon
