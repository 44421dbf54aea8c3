// One worker thread per operation; the window's thread waits by handling messages.
#include "app/threaded_runner.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "platform/scope_exit.h"

namespace purgeon {

namespace {

// The newest progress, left by the worker for the window's thread.
class ProgressSlot : public ProgressSink {
public:
    void report(const OperationProgress& progress) override {
        const std::lock_guard<std::mutex> held(m_lock);
        m_progress = progress;
        m_fresh = true;
    }
    std::optional<OperationProgress> take() {
        const std::lock_guard<std::mutex> held(m_lock);
        if (!m_fresh) return std::nullopt;
        m_fresh = false;
        return m_progress;
    }

private:
    std::mutex m_lock;
    OperationProgress m_progress;
    bool m_fresh = false;
};

// How long the window's thread waits for messages before it looks at the worker again.
constexpr std::chrono::milliseconds kLookInterval{50};

}  // namespace

void ThreadedRunner::run(const OperationWork& work, const ProgressView& view) {
    if (m_running) throw std::logic_error("an operation is running already");
    m_running = true;
    const ScopeExit ended([this] { m_running = false; });
    ProgressSlot slot;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    {
        // Should the window's thread leave by an exception, the thread's end asks the work to stop
        // and waits for it.
        std::jthread worker([&](std::stop_token stop) noexcept {
            try {
                work(stop, slot);
            } catch (...) {
                failure = std::current_exception();  // read after the join
            }
            finished.store(true, std::memory_order_release);
        });
        m_stop = worker.get_stop_source();
        while (!finished.load(std::memory_order_acquire)) {
            m_wait(kLookInterval);
            if (auto progress = slot.take()) view(*progress);
        }
    }
    if (auto progress = slot.take()) view(*progress);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace purgeon
