// What an operation's progress says in words and figures, and the runner that runs work in place.
#include "clean/operation.h"

#include <algorithm>
#include <cmath>

#include "platform/scope_exit.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// Reports go straight to the view, and to a further sink when there is one.
class ForwardingSink : public ProgressSink {
public:
    explicit ForwardingSink(const ProgressView& view, ProgressSink* next = nullptr)
        : m_view(view), m_next(next) {}
    void report(const OperationProgress& progress) override {
        if (m_next) m_next->report(progress);
        if (m_view) m_view(progress);
    }

private:
    const ProgressView& m_view;
    ProgressSink* m_next;
};

}  // namespace

int progressPercent(const OperationProgress& progress) {
    if (progress.bytesTotal > 0) {
        return static_cast<int>(
            std::min<std::uint64_t>(100, progress.bytesDone * 100 / progress.bytesTotal));
    }
    if (progress.filesTotal > 0) {
        return static_cast<int>(
            std::min<std::size_t>(100, progress.filesDone * 100 / progress.filesTotal));
    }
    return 0;
}

std::wstring progressText(const OperationProgress& progress,
                          std::chrono::duration<double> elapsed) {
    std::wstring text;
    auto add = [&](const std::wstring& part) { text += (text.empty() ? L"" : L", ") + part; };
    if (progress.filesTotal > 0) {
        add(std::to_wstring(progress.filesDone) + L"/" + std::to_wstring(progress.filesTotal) +
            L" files");
    }
    // The bytes of the files, whatever the passes over them.
    const auto passes = static_cast<std::uint64_t>(std::max(progress.passes, 1));
    const std::uint64_t done = progress.bytesDone / passes;
    const std::uint64_t total = progress.bytesTotal / passes;
    if (total > 0) add(sizeText(done) + L"/" + sizeText(total));
    const double seconds = elapsed.count();
    // Speed and time left only once there is something to go by.
    if (done > 0 && seconds >= 0.5) {
        const double perSecond = static_cast<double>(done) / seconds;
        add(sizeText(static_cast<std::uint64_t>(perSecond)) + L"/s");
        if (total > done) {
            const auto left =
                static_cast<long long>(std::ceil(static_cast<double>(total - done) / perSecond));
            add((left >= 60
                     ? std::to_wstring(left / 60) + L" min " + std::to_wstring(left % 60) + L" s"
                     : std::to_wstring(left) + L" s") +
                L" left");
        }
    }
    return text;
}

BatchProgressSink progressTo(ProgressSink& sink) {
    return [&sink](const BatchProgress& batch) {
        sink.report({batch.filesDone, batch.filesTotal, batch.bytesDone, batch.bytesTotal,
                     batch.current, batch.passes});
    };
}

void InlineRunner::run(const OperationWork& work, const ProgressView& view) {
    ForwardingSink sink(view);
    m_stop = std::stop_source();
    m_running = true;
    const ScopeExit ended([this] { m_running = false; });
    work(m_stop.get_token(), sink);
}

bool InPlaceOperations::runOperation(const std::wstring&, const OperationWork& work,
                                     const ProgressView& view) {
    ForwardingSink sink(view, m_progress);
    work(m_stop, sink);
    return true;
}

}  // namespace purgeon
