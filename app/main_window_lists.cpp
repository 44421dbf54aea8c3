// The main window's lists: cookies, cache and history, of the cookie folder, the URL cache and
// history store and of the ticked browsers, and deleting from them.
#include "app/area_steps.h"
#include "clean/browser_areas.h"
#include "app/busy_scope.h"
#include "app/main_window.h"
#include "app/program.h"
#include "product/product.h"

namespace purgeon {

// Cookies.

void FrmMain::loadCookiesList() {
    m_cookies = CookieList();
    m_view->showCookieRows(m_cookies);
    m_cookieFolder = cookieFolder(m_program);
    setText(Ctl::txtCookieDir, m_cookieFolder);
    EnumCookies(m_cookieFolder);
}

void FrmMain::EnumCookies(const std::wstring& folder) {
    BusyScope busy(*this);
    CookieList listed;
    static_cast<void>(
        listCookies(m_program, folder, listed, [this] { m_program.processMessages(); }));
    std::vector<std::wstring> failures;
    appendBrowserCookieRows(m_program.services().files, m_program.browsers().choices(), listed,
                            failures);
    for (const std::wstring& failure : failures) m_program.log().write(failure);
    m_cookies = std::move(listed);
    m_view->showCookieRows(m_cookies);
}

void FrmMain::deletecookies(bool interactive) {
    m_program.includeIndexDat = false;
    Services& s = m_program.services();
    if (interactive &&
        s.dialogs.messageBox(L"Are you sure you wish to delete the selected cookies?",
                             L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    if (m_cookies.rows().empty()) return;
    // The browsers' rows chosen now: the list loses the files' rows as they go.
    std::vector<CookieRow> selected;
    for (const CookieRow& row : m_cookies.rows())
        if (row.selected && row.fromBrowser()) selected.push_back(row);
    CookieClearing clearing;
    {
        BusyScope busy(*this);
        clearing = deleteCookies(m_program, m_cookies, m_cookieFolder, interactive);
        if (clearing.deletion) m_view->showCookieRows(m_cookies);
    }
    // A refused cookie folder keeps its files; the browsers' cookies go all the same.
    if (clearing.refused) {
        const std::wstring text = cookieRefusalText(clearing.check);
        if (interactive) {
            tell(text, kMbOk | kMbIconExclamation);
        } else {
            m_program.log().write(L"Cookies: " + text);
        }
    }
    if (!m_program.browsers().anyTicked()) return;
    const std::vector<BrowserChoice> choices = m_program.browsers().choices();
    const CookieKeepList keep = m_program.browsers().keepList();
    BrowserClearing browsers;
    {
        BusyScope busy(*this);
        if (!m_program.runOperation(L"deleting cookies", [&](std::stop_token, ProgressSink&) {
                browsers =
                    clearBrowserCookies(s.files, choices, keep, interactive ? &selected : nullptr);
            })) {
            return;
        }
    }
    m_program.reportBrowsers(browsers, interactive);
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
    static_cast<void>(listCache(m_program, m_cache));
    appendBrowserCacheRows(m_program.services().files, m_program.browsers().choices(), m_cache);
    m_view->showCacheRows(m_cache);
}

void FrmMain::deletecache(bool interactive) {
    BusyScope busy(*this);
    const bool passwords = value(Ctl::chkDelCachedPasswords) == 1;
    if (!deleteCache(m_program, m_cache, passwords)) return;
    if (!m_program.browsers().anyTicked()) {
        GetCacheURLList();
        return;
    }
    const std::vector<BrowserChoice> choices = m_program.browsers().choices();
    BrowserClearing browsers;
    if (!m_program.runOperation(L"clearing the cache", [&](std::stop_token stop, ProgressSink&) {
            browsers = clearBrowserCaches(m_program.services().files, choices, stop);
        })) {
        return;
    }
    m_program.reportBrowsers(browsers, interactive);
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
        BrowserClearing run;
        if (!m_program.runOperation(L"clearing the cache", [&](std::stop_token, ProgressSink&) {
                run = removeBrowserCacheRow(m_program.services().files, choices, entry);
            })) {
            return;
        }
        m_program.reportBrowsers(run, true);
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

// Browser history.

void FrmMain::loadURLHistory() {
    std::vector<HistoryRow> rows;
    Services& s = m_program.services();
    if (CURLHistory* history = m_program.history()) {
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
        cleared = m_program.clearHistory();
        m_program.reportBrowsers(m_program.clearBrowserHistories(), true);
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
