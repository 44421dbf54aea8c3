// Listing a tab's rows off the window's thread: the work hands its rows over in batches, which the
// window's thread applies as they come, in order.
#pragma once

#include <functional>
#include <stop_token>

namespace purgeon {

// Rows handed over by a listing: applied on the window's thread.
using ListingBatch = std::function<void()>;
// Hands a batch to the window's thread; the work goes on meanwhile.
using ListingHand = std::function<void(ListingBatch)>;
// The listing itself, off the window's thread. It touches nothing the window's thread uses but
// through the batches it hands over, and ends early when asked to stop.
using ListingWork = std::function<void(std::stop_token, const ListingHand&)>;

// One listing at a time: starting another stops the one under way.
class ListingRunner {
public:
    virtual ~ListingRunner() = default;
    // Stops the listing under way (what it handed and was not yet applied is dropped), then starts
    // the work. done runs on the window's thread after the last batch, unless stopped first.
    virtual void start(ListingWork work, ListingBatch done) = 0;
    // From start until done has run (or the listing was stopped).
    virtual bool running() const = 0;
    // Lets the window's thread handle its messages, applying the batches, until the listing has
    // ended and done has run.
    virtual void wait() = 0;
    // Stops the listing: nothing more of it is applied.
    virtual void stop() = 0;
};

// The work on the calling thread, each batch applied as it is handed.
class InlineListing : public ListingRunner {
public:
    void start(ListingWork work, ListingBatch done) override {
        m_running = true;
        work(std::stop_token(), [](ListingBatch batch) { batch(); });
        m_running = false;
        if (done) done();
    }
    bool running() const override { return m_running; }
    void wait() override {}
    void stop() override {}

private:
    bool m_running = false;
};

}  // namespace purgeon
