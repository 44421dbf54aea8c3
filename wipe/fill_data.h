// The fill's overwrite data, made ahead on a helper thread while the large writes go on.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "wipe/free_space.h"

namespace purgeon {

// Overwrite data made ahead on a helper thread: while the caller writes one buffer, the next is
// being filled, so that making the data costs the large writes no time of their own. The source
// is called from the helper only.
class DataAhead {
public:
    DataAhead(const OverwriteSource& source, std::size_t bytes)
        : m_source(source),
          m_buffers{std::vector<unsigned char>(bytes), std::vector<unsigned char>(bytes)} {
        m_helper = std::jthread([this](std::stop_token stop) { make(stop); });
    }
    ~DataAhead() {
        {
            const std::lock_guard<std::mutex> held(m_lock);
            m_helper.request_stop();
        }
        m_changed.notify_all();
    }
    DataAhead(const DataAhead&) = delete;
    DataAhead& operator=(const DataAhead&) = delete;

    // A buffer of fresh data, whole; it stays the caller's until the next call. A failure of the
    // source comes back here.
    const unsigned char* next() {
        std::unique_lock<std::mutex> held(m_lock);
        if (m_given >= 0) m_full[m_given] = false;  // the one given before may be made afresh
        m_changed.notify_all();
        const int wanted = m_given < 0 ? 0 : 1 - m_given;
        m_changed.wait(held, [&] { return m_full[wanted] || m_failure; });
        if (m_failure) std::rethrow_exception(m_failure);
        m_given = wanted;
        return m_buffers[wanted].data();
    }

private:
    void make(std::stop_token stop) noexcept {
        try {
            for (int turn = 0;; turn = 1 - turn) {
                {
                    std::unique_lock<std::mutex> held(m_lock);
                    m_changed.wait(held, [&] { return stop.stop_requested() || !m_full[turn]; });
                    if (stop.stop_requested()) return;
                }
                m_source(m_buffers[turn].data(), m_buffers[turn].size());
                {
                    const std::lock_guard<std::mutex> held(m_lock);
                    m_full[turn] = true;
                }
                m_changed.notify_all();
            }
        } catch (...) {
            // Handed to the caller's thread, which rethrows it at its next call.
            {
                const std::lock_guard<std::mutex> held(m_lock);
                m_failure = std::current_exception();
            }
            m_changed.notify_all();
        }
    }

    const OverwriteSource& m_source;
    std::vector<unsigned char> m_buffers[2];
    bool m_full[2] = {false, false};
    int m_given = -1;  // the buffer the caller holds
    std::exception_ptr m_failure;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::jthread m_helper;  // last: it ends before the rest goes
};

}  // namespace purgeon
