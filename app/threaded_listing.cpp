// One worker per listing; its batches wait in a queue for the window's thread.
#include "app/threaded_listing.h"

#include "platform/scope_exit.h"

namespace purgeon {

namespace {

// How long wait() lets messages be handled before it looks at the queue again.
constexpr std::chrono::milliseconds kLookInterval{50};

}  // namespace

void ThreadedListing::start(ListingWork work, ListingBatch done) {
    stop();
    auto shared = std::make_shared<Shared>();
    m_shared = shared;
    m_done = std::move(done);
    m_running = true;
    m_worker = std::jthread(
        [shared, wake = m_wake, work = std::move(work)](std::stop_token stop) noexcept {
            const ListingHand hand = [&](ListingBatch batch) {
                bool first = false;
                {
                    const std::lock_guard<std::mutex> held(shared->lock);
                    first = shared->batches.empty();
                    shared->batches.push_back(std::move(batch));
                }
                if (first) wake();
            };
            try {
                work(stop, hand);
            } catch (...) {
                const std::lock_guard<std::mutex> held(shared->lock);
                shared->failure = std::current_exception();
            }
            {
                const std::lock_guard<std::mutex> held(shared->lock);
                shared->finished = true;
            }
            wake();
        });
}

void ThreadedListing::stop() {
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
    m_shared.reset();
    m_done = nullptr;
    m_running = false;
}

void ThreadedListing::drain() {
    if (m_draining || !m_shared) return;
    m_draining = true;
    const ScopeExit leave([this] { m_draining = false; });
    const std::shared_ptr<Shared> shared = m_shared;
    const auto began = std::chrono::steady_clock::now();
    for (;;) {
        ListingBatch batch;
        bool finished = false;
        {
            const std::lock_guard<std::mutex> held(shared->lock);
            if (!shared->batches.empty()) {
                batch = std::move(shared->batches.front());
                shared->batches.pop_front();
            }
            finished = shared->finished;
        }
        if (batch) {
            batch();
            if (m_shared != shared) return;  // stopped, or started afresh, by the batch
            if (std::chrono::steady_clock::now() - began >= kSlice) {
                // The window answers its other messages before it applies the rest.
                m_wake();
                return;
            }
            continue;
        }
        if (!finished) return;
        if (m_worker.joinable()) m_worker.join();
        ListingBatch done = std::move(m_done);
        m_done = nullptr;
        m_shared.reset();
        m_running = false;
        std::exception_ptr failure;
        {
            const std::lock_guard<std::mutex> held(shared->lock);
            failure = shared->failure;
        }
        if (failure) std::rethrow_exception(failure);
        if (done) done();
        return;
    }
}

void ThreadedListing::wait() {
    while (m_running) {
        drain();
        if (!m_running) return;
        m_wait(kLookInterval);
    }
}

}  // namespace purgeon
