// The automatic run's steps on the main window's lists: what a step acts on is listed afresh
// first, and the hourglass held until the list shows what went.
#include "app/main_window.h"
#include "app/program.h"
#include "clean/cache_area.h"
#include "clean/cookie_area.h"
#include "clean/history_area.h"

namespace purgeon {

ShownLists FrmMain::shownLists() { return ShownLists{&m_cache, &m_cookies, &m_cookieFolder}; }

void FrmMain::runStarting(const Area& area) {
    if (&area == &kCacheArea) {
        GetCacheURLList();
        awaitListing(m_cacheListing);
    } else if (&area == &kCookieArea) {
        loadCookiesList();
        awaitListing(m_cookieListing);
        if (m_cookies.rows().empty()) return;  // nothing to delete, nothing to wait for
    } else {
        // A history listing reads the databases the clear changes: what it listed stays.
        if (&area == &kHistoryArea && m_historyListing) m_historyListing->stop();
        showListingStatus();
        return;
    }
    m_busyForRun = true;
    setBusy(true);
}

void FrmMain::runFinished(const Area& area, const AreaResult& result) {
    if (!m_busyForRun) return;
    m_busyForRun = false;
    if (result.ran) {
        if (&area == &kCacheArea) {
            GetCacheURLList();
        } else {
            m_view->showCookieRows(m_cookies);
        }
    }
    setBusy(false);
}

}  // namespace purgeon
