// The Browser History tab: rows and dates, clearing, sorting, and a store that fails.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;

constexpr std::int64_t kDay = 864000000000LL;  // one day in file-time units

TEST(HistoryWindow, RowsShowTitleUrlGeneralDatesAndSignedFlags) {
    ProgramRig rig;
    rig.history.shared->entries = {{L"http://a.example/", true, L"A", 3 * kDay + kDay / 2, 1},
                                   {L"http://b.example/", false, L"", 3 * kDay, 0xFFFFFFFF},
                                   {L"http://c.example/", true, L"C", kDay / 4, 0}};
    rig.program.Main();
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabHistory);
    const auto& rows = rig.mainView().historyRows;
    ASSERT_EQ(rows.size(), 3u);
    // Sorted by title until a header is clicked.
    EXPECT_EQ(rows[0], (HistoryRow{L"", L"http://b.example/", L"D3", L"D3", L"D3", L"-1",
                                   L"Internet Explorer"}));
    EXPECT_EQ(rows[1], (HistoryRow{L"A", L"http://a.example/", L"D3 T43200", L"D3 T43200",
                                   L"D3 T43200", L"1", L"Internet Explorer"}));
    EXPECT_EQ(rows[2][2], L"T21600");  // the zero date: the time alone
}

TEST(HistoryWindow, ClearKeepsTheShownRowsUntilTheTabIsSelectedAgain) {
    ProgramRig rig;
    rig.history.shared->entries = {{L"http://a.example/", true, L"A", 0, 0}};
    rig.program.Main();
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabHistory);
    rig.log.clear();
    main.cmdClearHistory_Click();
    EXPECT_EQ(rig.log, (fakes::Log{L"status:Clearing History...", L"busy", L"idle", L"status:"}));
    EXPECT_EQ(rig.mainView().historyRows.size(), 1u);
    main.selectTab(kTabGeneral);
    main.selectTab(kTabHistory);
    EXPECT_TRUE(rig.mainView().historyRows.empty());
    EXPECT_EQ(rig.dialogs.shown,
              (std::vector<fakes::ShownBox>{
                  {L"Cleaned\r\n\r\nHistory: 1 entry removed", L" Purgeon", 64}}));
}

TEST(HistoryWindow, AStoreThatFailsLeavesTheListEmptyAndClearingSaysSo) {
    for (bool creatable : {true, false}) {
        ProgramRig rig;
        rig.history.shared->entries = {{L"http://a.example/", true, L"A", 0, 0}};
        rig.history.shared->enumResult = kNotImplemented;  // as Wine's store answers
        rig.history.shared->clearResult = kNotImplemented;
        if (!creatable) rig.history.createResult = static_cast<std::int32_t>(0x80040154u);
        ASSERT_TRUE(rig.program.Main());
        FrmMain& main = rig.loadMain();
        main.selectTab(kTabHistory);
        EXPECT_TRUE(rig.mainView().historyRows.empty());
        rig.log.clear();
        main.cmdClearHistory_Click();
        EXPECT_EQ(rig.log,
                  (fakes::Log{L"status:Clearing History...", L"busy", L"idle", L"status:"}));
        EXPECT_EQ(rig.dialogs.shown,
                  (std::vector<fakes::ShownBox>{{L"Cleaned\r\n\r\nHistory: not cleaned: the "
                                                 L"system offers no usable history store",
                                                 L" Purgeon", 48}}));
    }
}

TEST(HistoryWindow, AHeaderClickSortsByItsColumnAndASecondClickTurnsTheOrderRound) {
    ProgramRig rig;
    rig.history.shared->entries = {{L"http://b.example/", true, L"A", 2 * kDay, 0},
                                   {L"http://a.example/", true, L"B", 3 * kDay, 0},
                                   {L"http://c.example/", true, L"C", 1 * kDay, 0}};
    rig.program.Main();
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabHistory);
    const auto urls = [&] {
        std::vector<std::wstring> shown;
        for (const HistoryRow& row : rig.mainView().historyRows) shown.push_back(row[1]);
        return shown;
    };
    main.URLs_ColumnClick(2);
    EXPECT_EQ(main.historySortKey(), 1);
    EXPECT_EQ(urls(), (std::vector<std::wstring>{L"http://a.example/", L"http://b.example/",
                                                 L"http://c.example/"}));
    main.URLs_ColumnClick(2);
    EXPECT_EQ(urls(), (std::vector<std::wstring>{L"http://c.example/", L"http://b.example/",
                                                 L"http://a.example/"}));
    main.URLs_ColumnClick(3);  // the last visit, by date
    EXPECT_EQ(main.historySortKey(), 2);
    EXPECT_EQ(urls(), (std::vector<std::wstring>{L"http://c.example/", L"http://b.example/",
                                                 L"http://a.example/"}));
}

}  // namespace
}  // namespace purgeon
