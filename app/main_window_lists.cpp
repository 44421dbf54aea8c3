// The main window's lists: cookies, cache and history, of the cookie folder, the URL cache and
// history store and of the ticked browsers, and deleting from them through the run loop.
#include "app/busy_scope.h"
#include "app/main_window.h"
#include "app/program.h"
#include "clean/browser_area.h"
#include "clean/browser_areas.h"
#include "clean/cache_area.h"
#include "clean/cookie_area.h"
#include "clean/failure_text.h"
#include "clean/history_area.h"
#include "product/product.h"

namespace purgeon {

// Cookies.

void FrmMain::loadCookiesList() {
    m_cookies = CookieList();
    m_view->showCookieRows(m_cookies);
    CleanContext context = m_program.cleanContext(m_options);
    m_cookieFolder = cookieFolder(context);
    setText(Ctl::txtCookieDir, m_cookieFolder);
    EnumCookies(m_cookieFolder);
}

void FrmMain::EnumCookies(const std::wstring& folder) {
    BusyScope busy(*this);
    CookieList listed;
    CleanContext context = m_program.cleanContext(m_options);
    static_cast<void>(
        listCookies(context, folder, listed, [this] { m_program.processMessages(); }));
    std::vector<std::wstring> failures;
    appendBrowserCookieRows(m_program.services().files, m_program.browsers().choices(), listed,
                            failures);
    for (const std::wstring& failure : failures) m_program.log().write(failure);
    m_cookies = std::move(listed);
    m_view->showCookieRows(m_cookies);
}

void FrmMain::deletecookies(bool interactive) {
    m_program.state().includeIndexDat = false;
    Services& s = m_program.services();
    if (interactive &&
        s.dialogs.messageBox(L"Are you sure you wish to delete the selected cookies?",
                             L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    if (m_cookies.rows().empty()) return;
    // The cookie folder's files first, then the browsers' cookies: a refusal of the folder is
    // told before those go.
    const ShownLists shown{nullptr, &m_cookies, &m_cookieFolder, interactive};
    AreaResult files;
    {
        BusyScope busy(*this);
        files = runArea(kCookieArea, shown, false);
        if (files.ran) m_view->showCookieRows(m_cookies);
    }
    // A refused cookie folder keeps its files (the log says so); the browsers' cookies go all
    // the same.
    if (files.refused && interactive)
        s.dialogs.messageBox(cookieRefusalText(*files.refused), kAppTitle,
                             kMbOk | kMbIconExclamation);
    if (!m_program.browsers().anyTicked()) return;
    AreaResult browsers;
    {
        BusyScope busy(*this);
        browsers = runArea(kBrowserCookiesArea, shown);
    }
    if (browsers.ran && interactive) tellBrowsers(browsers.browsers);
}

void FrmMain::cmddelcookies_Click() {
    BusyScope busy(*this, L"Deleting cookies...", false);
    deletecookies(true);
    loadCookiesList();
}

void FrmMain::cmdselectallcookies_Click() {
    m_cookies.selectAll();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::cmdselectnocookies_Click() {
    m_cookies.selectNone();
    m_view->showCookieSelection(m_cookies);
}

void FrmMain::cmdinvertcookiesselection_Click() {
    m_cookies.invertSelection();
    m_view->showCookieSelection(m_cookies);
    m_view->focus(Ctl::lstcookies);
}

void FrmMain::lstcookies_ItemSelected(int row, bool selected) {
    if (row >= 0) m_cookies.setSelected(static_cast<size_t>(row), selected);
}

// Cache.

void FrmMain::loadCacheContents() { GetCacheURLList(); }

void FrmMain::GetCacheURLList() {
    BusyScope busy(*this);
    CleanContext context = m_program.cleanContext(m_options);
    static_cast<void>(listCache(context, m_cache));
    appendBrowserCacheRows(m_program.services().files, m_program.browsers().choices(), m_cache);
    m_view->showCacheRows(m_cache);
}

void FrmMain::deletecache(bool interactive) {
    BusyScope busy(*this);
    const AreaResult cleared = runArea(kCacheArea, ShownLists{&m_cache});
    if (!cleared.ran) return;
    if (interactive) tellBrowsers(cleared.browsers);
    GetCacheURLList();
}

void FrmMain::invertsel() {
    m_cache.invertSelection();
    m_view->showCacheSelection(m_cache);
}

void FrmMain::cmdDelAllFromCache_Click() {
    BusyScope busy(*this, L"Clearing cache...", false);
    deletecache(true);
}

void FrmMain::cmdDelSelFromCache_Click() {
    if (const BrowserCacheRow* row = m_cache.currentBrowserRow()) {
        const BrowserCacheRow entry = *row;
        const std::vector<BrowserChoice> choices = m_program.browsers().choices();
        BrowserClearing removal;
        if (!m_program.runOperation(L"clearing the cache", [&](std::stop_token, ProgressSink&) {
                removal = removeBrowserCacheRow(m_program.services().files, choices, entry);
            })) {
            return;
        }
        for (const std::wstring& line : removal.lines) m_program.log().write(line);
        tellBrowsers(removal);
    } else {
        m_program.logFailure(L"Cache: the selected entry was not removed",
                             m_cache.deleteCurrent(m_program.services().urlCache));
    }
    GetCacheURLList();
}

void FrmMain::cmdinvertcachesel_Click() { invertsel(); }

void FrmMain::List1_Click(int row) {
    m_cache.click(row);
    m_view->showCacheSelection(m_cache);
}

// The automatic run's steps on the window's lists.

ShownLists FrmMain::shownLists() { return ShownLists{&m_cache, &m_cookies, &m_cookieFolder}; }

void FrmMain::runStarting(const Area& area) {
    if (&area == &kCacheArea) {
        GetCacheURLList();
    } else if (&area == &kCookieArea) {
        loadCookiesList();
        if (m_cookies.rows().empty()) return;  // nothing to delete, nothing to wait for
    } else {
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

// Browser history.

void FrmMain::loadURLHistory() {
    std::vector<HistoryRow> rows;
    Services& s = m_program.services();
    if (CURLHistory* history = m_program.state().history.get()) {
        try {
            history->Refresh();
            rows = historyRows(*history, s.dates);
        } catch (const HistoryError& error) {
            rows.clear();  // a store that cannot be read shows an empty list
            m_program.log().write(L"History: not listed: the store answered " +
                                  hresultText(error.code()) + L".");
        }
    }
    std::vector<std::wstring> failures;
    appendBrowserHistoryRows(s.files, m_program.browsers().choices(), s.dates, rows, failures);
    for (const std::wstring& failure : failures) m_program.log().write(failure);
    m_view->showHistoryRows(rows);
}

void FrmMain::cmdClearHistory_Click() {
    bool cleared = false;
    {
        BusyScope busy(*this, L"Clearing History...");
        const AreaResult result = runArea(kHistoryArea);
        cleared = result.ran;
        tellBrowsers(result.browsers);
    }
    if (!cleared) {
        m_program.services().dialogs.messageBox(L"The visited URL history could not be cleared.",
                                                kAppTitle, kMbOk | kMbIconExclamation);
    }
}

void FrmMain::URLs_ColumnClick(int column) {
    m_historySortKey = column - 1;
    m_view->setHistorySortKey(m_historySortKey);
}

}  // namespace purgeon
