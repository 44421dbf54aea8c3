// The listing runner with a worker thread: the window's thread applies the batches when woken.
#pragma once

#include <chrono>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/listing.h"
#include "app/threaded_runner.h"

namespace purgeon {

class ThreadedListing : public ListingRunner {
public:
    // wake asks the window's thread, from the worker, to call drain() soon (a posted message);
    // wait lets the window's thread handle its messages for at most the given time.
    ThreadedListing(MessageWait wait, std::function<void()> wake)
        : m_wait(std::move(wait)), m_wake(std::move(wake)) {}
    ~ThreadedListing() override { stop(); }
    ThreadedListing(const ThreadedListing&) = delete;
    ThreadedListing& operator=(const ThreadedListing&) = delete;

    void start(ListingWork work, ListingBatch done) override;
    bool running() const override { return m_running; }
    void wait() override;
    void stop() override;

    // On the window's thread: applies what was handed so far, and runs done after the last batch.
    // A failure of the work is thrown here, once. Batches that take longer than a slice in all
    // leave the rest for another wake, so that the window answers meanwhile.
    void drain();
    static constexpr std::chrono::milliseconds kSlice{20};

private:
    // What the worker and the window's thread share, one per listing started.
    struct Shared {
        std::mutex lock;
        std::deque<ListingBatch> batches;
        bool finished = false;
        std::exception_ptr failure;
    };

    MessageWait m_wait;
    std::function<void()> m_wake;
    std::shared_ptr<Shared> m_shared;
    ListingBatch m_done;
    bool m_running = false;
    bool m_draining = false;
    // Last, so that it is joined before the rest goes.
    std::jthread m_worker;
};

}  // namespace purgeon
