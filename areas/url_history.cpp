// The URL history collection over the platform's history store.
#include "areas/url_history.h"

namespace purgeon {

double URLHistoryItem::localDate(std::int64_t fileTime) const {
    double date = 0.0;
    return m_store.localDate(fileTime, date) ? date : 0.0;
}

void CURLHistory::check(const Status& status, const char* what) {
    if (!status) throw HistoryError(what, status.code);
}

CURLHistory::CURLHistory(HistoryStoreFactory& factory) {
    const Status created = factory.create(m_store);
    if (!m_store)
        throw HistoryError("the URL history store cannot be created",
                           created ? kFail : created.code);
    Refresh();
}

void CURLHistory::AddURL(const std::wstring& url, const std::wstring& title, std::uint32_t flags) {
    check(m_store->addUrl(url, title, flags), "adding a URL failed");
}

void CURLHistory::Clear() {
    check(m_store->clearHistory(), "clearing the history failed");
    Refresh();
}

void CURLHistory::Refresh(const std::wstring& filter, std::uint32_t flags) {
    std::unique_ptr<HistoryEnumerator> enumerator;
    check(m_store->enumUrls(enumerator), "listing the history failed");
    check(enumerator->setFilter(filter, flags), "filtering the history failed");
    m_items.clear();
    for (;;) {
        StatUrlRecord record;
        bool fetched = false;
        check(enumerator->next(record, fetched), "reading the history failed");
        if (!fetched) break;
        m_items.push_back(std::make_unique<URLHistoryItem>(*m_store, std::move(record)));
    }
}

size_t CURLHistory::position(std::int32_t index) const {
    if (index < 1 || index > Count())
        throw HistoryError("no history entry at that position", kFail);
    return static_cast<size_t>(index - 1);
}

const URLHistoryItem& CURLHistory::Item(std::int32_t index) const {
    return *m_items[position(index)];
}

void CURLHistory::Remove(std::int32_t index) {
    const size_t at = position(index);
    check(m_store->deleteUrl(m_items[at]->URL(), 0), "deleting a URL failed");
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(at));
}

void CURLHistory::DeleteURL(const std::wstring& url, std::uint32_t flags) {
    check(m_store->deleteUrl(url, flags), "deleting a URL failed");
    Refresh();
}

}  // namespace purgeon
