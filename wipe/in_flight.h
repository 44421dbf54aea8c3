// Work that runs on a helper thread while the caller goes on (flushes, read-backs).
#pragma once

#include <future>
#include <system_error>

#include "platform/status.h"

namespace purgeon {

// Work that runs on a helper thread while the caller goes on, one piece at a time; whoever
// leaves waits for it. The shredder flushes a stretch while the next is written and reads back the
// stretch before; the free-space fill flushes one stretch while it writes the next.
class InFlight {
public:
    InFlight() = default;
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;
    ~InFlight() { static_cast<void>(wait()); }

    // Waits for the piece in flight, then starts work; a failure of that piece is the answer, and
    // nothing starts after it.
    template <typename Work>
    Status start(const Work& work) {
        if (Status previous = wait(); !previous) return previous;
        try {
            m_pending = std::async(std::launch::async, work);
        } catch (const std::system_error&) {
            return work();  // no thread to be had: the work runs here
        }
        return Status::success();
    }

    Status wait() { return m_pending.valid() ? m_pending.get() : Status::success(); }

private:
    std::future<Status> m_pending;
};

}  // namespace purgeon
