// The history store's preview and clean, and the ticked browsers' history along with it.
#include "clean/history_area.h"

#include <memory>

#include "clean/browser_area.h"
#include "clean/failure_text.h"

namespace purgeon {

namespace {

constexpr wchar_t kNoHistoryStore[] = L"the system offers no usable history store";

CURLHistory* openHistory(CleanContext& context) {
    return loadHistory(context.state, context.services.history, context.log);
}

AreaResult previewHistory(CleanContext& context) {
    CURLHistory* history = openHistory(context);
    if (!history) return leftAlone(kNoHistoryStore);
    AreaResult result;
    result.count = static_cast<std::size_t>(history->Count());
    return result;
}

// Clears the whole store and reads what it still holds into the collection.
AreaResult clearStore(CleanContext& context) {
    CURLHistory* history = openHistory(context);
    if (!history) {
        AreaResult result = leftAlone(kNoHistoryStore);
        result.log.push_back(L"History: not cleared: the system offers no history store.");
        return result;
    }
    const auto before = static_cast<std::size_t>(history->Count());
    // The work clears through a store of its own: a store's objects belong to the thread that
    // made them.
    HistoryStoreFactory& factory = context.services.history;
    Status cleared = Status::error(kErrorBusy);
    context.operations.runOperation(L"clearing the history", [&](std::stop_token, ProgressSink&) {
        std::unique_ptr<HistoryStore> store;
        cleared = factory.create(store);
        if (cleared) cleared = store->clearHistory();
    });
    if (!cleared) {
        AreaResult result = leftAlone(L"the history store refused to clear it");
        result.log.push_back(L"History: not cleared: the store answered " +
                             hresultText(cleared.code) + L".");
        return result;
    }
    AreaResult result;
    try {
        history->Refresh();
    } catch (const HistoryError& error) {
        result.log.push_back(L"History: cleared, but not listed again: the store answered " +
                             hresultText(error.code()) + L".");
    }
    result.log.push_back(L"History: cleared.");
    const auto after = static_cast<std::size_t>(history->Count());
    result.count = before > after ? before - after : 0;
    if (after > 0) {
        result.done = false;
        result.why = std::to_wstring(after) + L" still there";
    }
    return result;
}

AreaResult cleanHistory(CleanContext& context) {
    // A store that cannot be cleared leaves the history as it is; the browsers' go all the same.
    AreaResult result = clearStore(context);
    if (context.withBrowsers) addBrowsersPart(result, kBrowserHistoryArea.clean(context));
    return result;
}

}  // namespace

const Area kHistoryArea{
    .name = L"history",
    .title = L"History",
    .one = L"entry",
    .many = L"entries",
    .help = L"the history of visited addresses",
    .optionKey = kAutoHistoryKey,
    .status = L"Clearing History...",
    .preview = previewHistory,
    .clean = cleanHistory,
};

CURLHistory* loadHistory(CleanState& state, HistoryStoreFactory& factory, RunLog& log) {
    if (state.historyAsked) return state.history.get();
    state.historyAsked = true;
    // Without a working history store (no such component, or one that cannot be read) the
    // program runs on: the history list stays empty and clearing it says it could not.
    try {
        state.history = std::make_unique<CURLHistory>(factory);
    } catch (const HistoryError& error) {
        state.history.reset();
        log.write(L"History: no usable history store (" + hresultText(error.code()) + L").");
    }
    return state.history.get();
}

}  // namespace purgeon
