// The operation runner with a worker thread: the window's thread handles messages meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <stop_token>

#include "clean/operation.h"

namespace purgeon {

// Lets the window system handle the program's messages as they arrive, for at most the given
// time.
using MessageWait = std::function<void(std::chrono::milliseconds most)>;

class ThreadedRunner : public OperationRunner {
public:
    explicit ThreadedRunner(MessageWait wait) : m_wait(std::move(wait)) {}
    void run(const OperationWork& work, const ProgressView& view) override;
    void cancel() override { m_stop.request_stop(); }
    bool running() const override { return m_running; }

private:
    MessageWait m_wait;
    std::stop_source m_stop;
    bool m_running = false;
};

}  // namespace purgeon
