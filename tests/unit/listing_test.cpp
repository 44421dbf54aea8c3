// The tabs' listings: the worker's batches applied on the window's thread in order, a stop that
// drops what is left, and the window showing "Listing..." while a list fills.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/threaded_listing.h"
#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;

// A threaded listing whose window's thread is the test's: waking only counts, waiting sleeps.
struct ListingRig {
    std::atomic<int> wakes{0};
    ThreadedListing listing{[](std::chrono::milliseconds) {
                                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                            },
                            [this] { ++wakes; }};
};

void untilStopped(std::stop_token stop) {
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(Listing, BatchesAreAppliedOnTheWaitingThreadInOrderAndDoneRunsLast) {
    ListingRig rig;
    std::vector<int> applied;
    const auto caller = std::this_thread::get_id();
    bool onCaller = true;
    rig.listing.start(
        [&](std::stop_token, const ListingHand& hand) {
            for (int i = 0; i < 100; ++i)
                hand([&, i] {
                    onCaller = onCaller && std::this_thread::get_id() == caller;
                    applied.push_back(i);
                });
        },
        [&] { applied.push_back(-1); });
    EXPECT_TRUE(rig.listing.running());
    rig.listing.wait();
    EXPECT_FALSE(rig.listing.running());
    std::vector<int> expected;
    for (int i = 0; i < 100; ++i) expected.push_back(i);
    expected.push_back(-1);
    EXPECT_EQ(applied, expected);
    EXPECT_TRUE(onCaller);
    EXPECT_GE(rig.wakes.load(), 1);
}

TEST(Listing, BatchesThatTakeLongerThanASliceLeaveTheRestForTheNextWake) {
    ListingRig rig;
    std::vector<int> applied;
    std::atomic<bool> handed{false};
    rig.listing.start(
        [&](std::stop_token, const ListingHand& hand) {
            for (int i = 0; i < 3; ++i)
                hand([&, i] {
                    std::this_thread::sleep_for(ThreadedListing::kSlice);
                    applied.push_back(i);
                });
            handed = true;
        },
        [&] { applied.push_back(-1); });
    while (!handed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const int wakes = rig.wakes;
    rig.listing.drain();
    EXPECT_EQ(applied, (std::vector<int>{0}));
    EXPECT_GT(rig.wakes, wakes);  // the window is asked to come back for the rest
    rig.listing.wait();
    EXPECT_EQ(applied, (std::vector<int>{0, 1, 2, -1}));
}

TEST(Listing, AStopOrANewStartEndsTheWorkAndDropsWhatItHandedOver) {
    for (const bool restart : {false, true}) {
        ListingRig rig;
        std::vector<int> applied;
        bool done = false;
        rig.listing.start(
            [&](std::stop_token stop, const ListingHand& hand) {
                hand([&] { applied.push_back(1); });
                untilStopped(stop);
                hand([&] { applied.push_back(1); });
            },
            [&] { done = true; });
        if (restart) {
            rig.listing.start([&](std::stop_token,
                                  const ListingHand& hand) { hand([&] { applied.push_back(2); }); },
                              {});
            rig.listing.wait();
            EXPECT_EQ(applied, (std::vector<int>{2}));
        } else {
            rig.listing.stop();
            EXPECT_FALSE(rig.listing.running());
            rig.listing.drain();
            EXPECT_TRUE(applied.empty());
        }
        EXPECT_FALSE(done);
    }
}

TEST(Listing, AFailureOfTheWorkIsThrownOnTheWindowsThread) {
    ListingRig rig;
    rig.listing.start([](std::stop_token, const ListingHand&) { throw std::runtime_error("x"); },
                      {});
    EXPECT_THROW(rig.listing.wait(), std::runtime_error);
    EXPECT_FALSE(rig.listing.running());
}

TEST(ListingWindow, AListFillsWhileTheWindowShowsListingAndAClearWaitsForTheWholeList) {
    ProgramRig rig;
    rig.windows.holdListings = true;
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry, 100},
                            {L"http://b.example/", kNormalCacheEntry, 2048}};
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabCache);
    // Opened, not yet listed: the list is empty and the status bar says why.
    EXPECT_TRUE(main.cacheList().rows().empty());
    EXPECT_TRUE(main.listing());
    EXPECT_EQ(main.statusText(), L"Listing...");
    rig.windows.runHeldListings();
    EXPECT_EQ(main.cacheList().rows().size(), 2u);
    EXPECT_FALSE(main.listing());
    EXPECT_EQ(main.statusText(), L"");
    EXPECT_EQ(rig.mainView().texts[static_cast<int>(Ctl::Frame3)],
              L"Cache Contents: 2 entries, 2.1 KB");

    // "Clear Cache" while the list is listed afresh acts on the whole list, not on part of it.
    main.selectTab(kTabGeneral);
    main.selectTab(kTabCache);
    EXPECT_TRUE(main.listing());
    rig.windows.duringListingWait = [&] { rig.windows.runHeldListings(); };
    main.deletecache();
    EXPECT_TRUE(rig.urlCache.entries.empty());
}

TEST(ListingWindow, ClosingTheWindowStopsItsListings) {
    ProgramRig rig;
    rig.windows.holdListings = true;
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabHistory);
    EXPECT_TRUE(main.listing());
    rig.program.unloadMainWindow();
    EXPECT_FALSE(main.listing());
    EXPECT_TRUE(rig.windows.held.empty());
}

}  // namespace
}  // namespace purgeon
