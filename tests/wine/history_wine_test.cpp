// Dates of history entries and the Win32 history store, against Wine in a fixed zone and locale.
#include <gtest/gtest.h>

#include "areas/history_view.h"
#include "platform/win32/date_text_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/history_store_win32.h"

namespace purgeon {
namespace {

// 2024-03-15 11:45:30 UTC as a file time.
std::int64_t fileTime(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME utc{2024, 3, 5, 15, hour, minute, second, 0};
    FILETIME time{};
    ::SystemTimeToFileTime(&utc, &time);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

// The suite runs with TZ=Etc/GMT-2 (two hours east of UTC, no daylight saving) and LANG=C.UTF-8,
// which Wine takes as English (United States).
TEST(RealDates, FileTimesBecomeLocalDateTimeValues) {
    double date = -1;
    ASSERT_TRUE(win32::localDateFromFileTime(fileTime(11, 45, 30), date));
    // 45366 is 2024-03-15; 13:45:30 local is 49530 seconds into the day.
    EXPECT_NEAR(date, 45366.0 + 49530.0 / 86400.0, 1e-7);
    ASSERT_TRUE(win32::localDateFromFileTime(fileTime(22, 0, 0), date));
    EXPECT_DOUBLE_EQ(date, 45367.0);  // local midnight of the next day
}

TEST(RealDates, GeneralDateTextInTheUsersLocale) {
    win32::Win32DateText text;
    struct Case {
        double value;
        std::wstring shown;
    };
    for (const Case& c :
         {Case{45366.0, L"3/15/2024"}, Case{45366.0 + 49530.0 / 86400.0, L"3/15/2024 1:45:30 PM"},
          Case{49530.0 / 86400.0, L"1:45:30 PM"}, Case{0.0, L"12:00:00 AM"}}) {
        EXPECT_EQ(generalDateText(text, c.value), c.shown) << c.value;
    }
}

TEST(RealHistoryStore, WinesStoreIsCreatedButCannotBeListed) {
    win32::Win32HistoryStoreFactory factory;
    std::unique_ptr<HistoryStore> store;
    const Status created = factory.create(store);
    if (!store) {
        EXPECT_LT(created.code, 0);
        return;  // no history component at all: creation reports why
    }
    EXPECT_TRUE(created);
    std::unique_ptr<HistoryEnumerator> enumerator;
    EXPECT_EQ(store->enumUrls(enumerator), Status::error(kNotImplemented));
    EXPECT_THROW(CURLHistory history(factory), HistoryError);
}

}  // namespace
}  // namespace purgeon
