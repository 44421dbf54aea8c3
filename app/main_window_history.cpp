// The main window's history list: of the history store and the ticked browsers, its texts, its
// order, and clearing it through the run loop.
#include "app/busy_scope.h"
#include "app/main_window.h"
#include "app/program.h"
#include "areas/history_view.h"
#include "areas/url_history.h"
#include "browsers/browser_history.h"
#include "clean/failure_text.h"
#include "clean/history_area.h"

namespace purgeon {

void FrmMain::loadURLHistory() {
    if (m_historyListing) m_historyListing->stop();
    m_history.clear();
    Services& s = m_program.services();
    // The history store is a COM object of the window's thread: it is read here, and it is small.
    if (CURLHistory* history = m_program.state().history.get()) {
        try {
            history->Refresh();
            m_history.add(historyStoreBatch(*history, s.collation));
        } catch (const HistoryError& error) {
            m_history.clear();  // a store that cannot be read shows an empty list
            m_program.log().write(L"History: not listed: the store answered " +
                                  hresultText(error.code()) + L".");
        }
    }
    m_view->showHistoryRows(m_history);
    FileSystem& files = s.files;
    DateText& dates = s.dates;
    const Collation& collation = s.collation;
    auto profiles = tickedProfiles();
    startListing(
        m_historyListing, [this, &files, &dates, &collation, profiles = std::move(profiles)](
                              std::stop_token stop, const ListingHand& hand) {
            for (const auto& [index, profile] : profiles) {
                const std::wstring title = profile.title();
                std::wstring error = listBrowserHistory(
                    files, profile,
                    [&](std::vector<BrowserVisit> visits) {
                        auto batch = std::make_shared<HistoryBatch>(title, collation);
                        for (const BrowserVisit& visit : visits) {
                            HistoryEntry entry;
                            if (visit.lastVisited == 0 ||
                                !dates.localDate(visit.lastVisited, entry.visited))
                                entry.visited = HistoryEntry::kNoDate;
                            batch->add(visit.title, visit.url, entry, collation);
                        }
                        hand([this, batch] {
                            m_history.add(std::move(*batch));
                            m_view->showHistoryRows(m_history);
                        });
                    },
                    stop);
                if (!error.empty()) {
                    hand([this, title, error = std::move(error)] {
                        m_program.log().write(L"History: " + title + L": not listed: " + error);
                    });
                }
                if (stop.stop_requested()) return;
            }
        });
}

std::wstring FrmMain::historyText(std::size_t place, std::size_t column) {
    return m_history.text(place, column, m_program.services().dates);
}

void FrmMain::cmdClearHistory_Click() {
    // The listing reads the databases the clear changes: what it listed stays shown.
    if (m_historyListing) m_historyListing->stop();
    showListingStatus();
    CleanReport report;
    {
        BusyScope busy(*this, L"Clearing History...");
        report.entries.push_back({&kHistoryArea, runArea(kHistoryArea)});
    }
    tellSummary(report);
}

void FrmMain::URLs_ColumnClick(int column) {
    m_history.sortBy(column - 1);
    m_view->showHistoryRows(m_history);
}

}  // namespace purgeon
