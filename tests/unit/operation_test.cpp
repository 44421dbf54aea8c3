// Long work on a worker thread: progress reaches the window's thread, Cancel stops the work, an
// exception comes back; and the words and figures the window shows.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "clean/operation.h"
#include "app/threaded_runner.h"

namespace purgeon {
namespace {

using namespace std::chrono_literals;

TEST(ThreadedRunner, TheWindowKeepsHandlingMessagesAndSeesTheNewestProgress) {
    std::atomic<int> waits{0};
    ThreadedRunner runner([&](std::chrono::milliseconds) {
        ++waits;
        std::this_thread::sleep_for(1ms);
    });
    const std::thread::id window = std::this_thread::get_id();
    std::vector<OperationProgress> seen;
    bool workOffTheWindowThread = false;
    runner.run(
        [&](std::stop_token, ProgressSink& sink) {
            workOffTheWindowThread = std::this_thread::get_id() != window;
            for (std::size_t i = 1; i <= 3; ++i) {
                sink.report({i, 3, 0, 0, L"file " + std::to_wstring(i)});
                std::this_thread::sleep_for(20ms);
            }
        },
        [&](const OperationProgress& progress) {
            EXPECT_EQ(std::this_thread::get_id(), window);
            EXPECT_TRUE(runner.running());
            seen.push_back(progress);
        });
    EXPECT_TRUE(workOffTheWindowThread);
    EXPECT_GT(waits.load(), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().filesDone, 3u);  // the last report always arrives
    EXPECT_FALSE(runner.running());
}

TEST(ThreadedRunner, CancelDuringTheWaitStopsTheWorkAtItsNextStep) {
    std::size_t steps = 0;
    ThreadedRunner* self = nullptr;
    ThreadedRunner runner([&](std::chrono::milliseconds) {
        self->cancel();  // the user presses Cancel while the work runs
        std::this_thread::sleep_for(1ms);
    });
    self = &runner;
    runner.run(
        [&](std::stop_token stop, ProgressSink&) {
            while (!stop.stop_requested() && steps < 1000000) {
                ++steps;
                std::this_thread::sleep_for(1ms);
            }
        },
        [](const OperationProgress&) {});
    EXPECT_LT(steps, 1000000u);
}

TEST(ThreadedRunner, AnExceptionOfTheWorkComesBackAndTheRunnerIsFreeAgain) {
    ThreadedRunner runner([](std::chrono::milliseconds) { std::this_thread::sleep_for(1ms); });
    EXPECT_THROW(runner.run([](std::stop_token, ProgressSink&) { throw std::runtime_error("x"); },
                            [](const OperationProgress&) {}),
                 std::runtime_error);
    EXPECT_FALSE(runner.running());
    bool ran = false;
    runner.run([&](std::stop_token, ProgressSink&) { ran = true; },
               [](const OperationProgress&) {});
    EXPECT_TRUE(ran);
}

TEST(OperationProgress, TellsWhatIsKnownAndThePercentByBytesElseByFiles) {
    struct Case {
        OperationProgress progress;
        double seconds;
        std::wstring text;
        int percent;
    };
    for (const Case& c : {
             Case{{0, 0, 0, 0, L""}, 0, L"", 0},
             Case{{3, 12, 0, 0, L""}, 1, L"3/12 files", 25},
             Case{{1, 4, 1 << 20, 4 << 20, L""}, 0.2, L"1/4 files, 1.0 MB/4.0 MB", 25},
             Case{{1, 4, 1 << 20, 4 << 20, L""},
                  1,
                  L"1/4 files, 1.0 MB/4.0 MB, 1.0 MB/s, 3 s left",
                  25},
             Case{{0, 1, 10 << 20, 1000 << 20, L""},
                  10,
                  L"0/1 files, 10.0 MB/1000.0 MB, 1.0 MB/s, 16 min 30 s left",
                  1},
             Case{{2, 2, 8 << 20, 8 << 20, L""}, 2, L"2/2 files, 8.0 MB/8.0 MB, 4.0 MB/s", 100},
         }) {
        EXPECT_EQ(progressText(c.progress, std::chrono::duration<double>(c.seconds)), c.text);
        EXPECT_EQ(progressPercent(c.progress), c.percent);
    }
}

}  // namespace
}  // namespace purgeon
