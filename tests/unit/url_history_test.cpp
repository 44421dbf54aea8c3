// CURLHistory over a fake store: snapshots, positions, and failures.
#include <gtest/gtest.h>

#include "areas/url_history.h"
#include "fakes/fake_history.h"

namespace purgeon {
namespace {

using fakes::FakeHistoryFactory;

std::vector<std::wstring> urls(const CURLHistory& history) {
    std::vector<std::wstring> result;
    for (const auto& item : history) result.push_back(item->URL());
    return result;
}

FakeHistoryFactory threeEntries() {
    FakeHistoryFactory factory;
    factory.shared->entries = {{L"http://a.example/", true, L"A", 864000000000LL * 3, 1},
                               {L"http://b.example/", false, L"", 0, 0},
                               {L"http://c.example/", true, L"C", 0, 0xFFFFFFFF}};
    return factory;
}

TEST(UrlHistory, EmptyHistoryGivesNoEntries) {
    FakeHistoryFactory factory;
    CURLHistory history(factory);
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.begin(), history.end());
}

TEST(UrlHistory, ItemsReadTheirRecordsAndANullTitleReadsEmpty) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    ASSERT_EQ(history.Count(), 3);
    EXPECT_EQ(history.Item(1).Title(), L"A");
    EXPECT_EQ(history.Item(2).Title(), L"");
    EXPECT_EQ(history.Item(2).URL(), L"http://b.example/");
    EXPECT_EQ(history.Item(3).Flags(), -1);
    EXPECT_DOUBLE_EQ(history.Item(1).LastVisited(), 3.0);
    EXPECT_DOUBLE_EQ(history.Item(1).LastVisited(), history.Item(1).LastVisited());
    factory.shared->datesFail = true;
    EXPECT_DOUBLE_EQ(history.Item(1).Expires(), 0.0);
}

TEST(UrlHistory, RefreshReplacesTheSnapshotWithWhatTheStoreHoldsNow) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    factory.shared->entries.erase(factory.shared->entries.begin());
    factory.shared->entries.push_back({L"http://d.example/", true, L"D", 0, 0});
    history.Refresh();
    EXPECT_EQ(urls(history), (std::vector<std::wstring>{L"http://b.example/", L"http://c.example/",
                                                        L"http://d.example/"}));
    EXPECT_EQ(history.Item(3).Title(), L"D");
    history.Refresh();
    EXPECT_EQ(history.Count(), 3);  // read afresh, not appended
}

TEST(UrlHistory, RemoveDeletesFromTheStoreAndShiftsWithoutReading) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    factory.shared->entries.push_back(
        {L"http://new.example/", true, L"New", 0, 0});  // not seen without a refresh
    history.Remove(1);
    EXPECT_EQ(factory.shared->deleted, (std::vector<std::wstring>{L"http://a.example/"}));
    EXPECT_EQ(urls(history),
              (std::vector<std::wstring>{L"http://b.example/", L"http://c.example/"}));
}

TEST(UrlHistory, AnIndexOutOfRangeFailsBeforeAnythingIsDeleted) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    for (std::int32_t index : {0, 4, -1}) {
        EXPECT_THROW(history.Remove(index), HistoryError);
        EXPECT_THROW(history.Item(index), HistoryError);
    }
    EXPECT_TRUE(factory.shared->deleted.empty());
    EXPECT_EQ(history.Count(), 3);
}

TEST(UrlHistory, ClearThenIterationShowsWhatTheStoreStillHolds) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    history.Clear();
    EXPECT_EQ(history.Count(), 0);

    factory.shared->clearResult = kNotImplemented;
    history.Refresh();
    EXPECT_THROW(history.Clear(), HistoryError);
    EXPECT_EQ(history.Count(), 0);
}

TEST(UrlHistory, AFailurePartWayThroughRefreshKeepsTheEntriesReadSoFar) {
    FakeHistoryFactory factory = threeEntries();
    CURLHistory history(factory);
    factory.shared->failNextAfter = 2;
    try {
        history.Refresh();
        FAIL() << "the failure did not reach the caller";
    } catch (const HistoryError& error) {
        EXPECT_EQ(error.code(), kFail);
    }
    EXPECT_EQ(history.Count(), 2);
}

TEST(UrlHistory, AStoreThatCannotBeCreatedOrListedFailsConstruction) {
    FakeHistoryFactory missing;
    missing.createResult = static_cast<std::int32_t>(0x80040154u);  // class not registered
    EXPECT_THROW(CURLHistory history(missing), HistoryError);
    FakeHistoryFactory wineLike;
    wineLike.shared->enumResult = kNotImplemented;
    EXPECT_THROW(CURLHistory history(wineLike), HistoryError);
}

}  // namespace
}  // namespace purgeon
