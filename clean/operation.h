// Long work as one operation: how far it has come, where it reports, and what runs it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "wipe/shred_batch.h"

namespace purgeon {

// How far an operation has come: as far as the shredding engine counts it.
using OperationProgress = BatchProgress;

// "12/340 files, 1.2 MB/3.4 MB, 85.0 MB/s, 25 s left": as much as is known yet.
std::wstring progressText(const OperationProgress& progress, std::chrono::duration<double> elapsed);
// From 0 to 100: by bytes when there are any to write, else by files.
int progressPercent(const OperationProgress& progress);

// Where the work reports; safe to call from the worker thread.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void report(const OperationProgress& progress) = 0;
};

// The work itself: runs off the window's thread, checks stop between steps, touches no window.
using OperationWork = std::function<void(std::stop_token stop, ProgressSink& progress)>;
// Runs on the window's thread with each new progress.
using ProgressView = std::function<void(const OperationProgress& progress)>;

// The batch's progress as an operation's, reported to the sink.
BatchProgressSink progressTo(ProgressSink& sink);

// Runs one operation at a time.
class OperationRunner {
public:
    virtual ~OperationRunner() = default;
    // Runs the work and returns when it has ended, meanwhile handling the window's messages and
    // showing progress. An exception of the work comes back here.
    virtual void run(const OperationWork& work, const ProgressView& view) = 0;
    // Asks the running work to stop; it stops at its next step.
    virtual void cancel() = 0;
    virtual bool running() const = 0;
};

// Runs the work on the calling thread: every report reaches the view at once, in order. For
// callers with no window to keep answering.
class InlineRunner : public OperationRunner {
public:
    void run(const OperationWork& work, const ProgressView& view) override;
    void cancel() override { m_stop.request_stop(); }
    bool running() const override { return m_running; }

private:
    std::stop_source m_stop;
    bool m_running = false;
};

// Where a run's long work goes to be run as one operation.
class OperationHost {
public:
    virtual ~OperationHost() = default;
    // Runs the work and returns once it has ended; the activity ("clearing the cache") names it
    // where the progress shows. False when it did not start (another operation runs) or was
    // stopped because the window is to close or the program to end: the caller then tells the
    // user nothing more.
    virtual bool runOperation(const std::wstring& activity, const OperationWork& work,
                              const ProgressView& view = {}) = 0;
};

// Runs each operation in place with the given stop token, its progress going to the sink (when
// there is one) as well as to the operation's own view: for a run with no window.
class InPlaceOperations : public OperationHost {
public:
    explicit InPlaceOperations(std::stop_token stop = {}, ProgressSink* progress = nullptr)
        : m_stop(std::move(stop)), m_progress(progress) {}
    bool runOperation(const std::wstring& activity, const OperationWork& work,
                      const ProgressView& view = {}) override;

private:
    std::stop_token m_stop;
    ProgressSink* m_progress;
};

}  // namespace purgeon
