// The main window's cookie list: of the cookie folder and the ticked browsers, its selection,
// its order, and deleting from it through the run loop.
#include "app/busy_scope.h"
#include "app/main_window.h"
#include "app/program.h"
#include "browsers/browser_cookies.h"
#include "clean/browser_area.h"
#include "clean/cookie_area.h"
#include "platform/dialogs.h"

namespace purgeon {

namespace {

// The bytes of the cookie folder's files on the list.
std::uint64_t cookieFileBytes(const CookieList& list) {
    std::uint64_t bytes = 0;
    for (const CookieRow& row : list.rows())
        if (!row.fromBrowser()) bytes += row.bytes;
    return bytes;
}

}  // namespace

void FrmMain::loadCookiesList() {
    // Listed afresh in the order the user chose.
    const Collation& collation = m_program.services().collation;
    CookieList emptied;
    emptied.setSort(m_cookies.sortColumn(), m_cookies.ascending(), collation);
    m_cookies = std::move(emptied);
    m_view->showCookieRows(m_cookies);
    CleanContext context = m_program.cleanContext(m_options);
    m_cookieFolder = cookieFolder(context);
    setText(Ctl::txtCookieDir, m_cookieFolder);
    EnumCookies(m_cookieFolder);
}

void FrmMain::EnumCookies(const std::wstring& folder) {
    FileSystem& files = m_program.services().files;
    const bool includeIndexDat = m_program.state().includeIndexDat;
    auto profiles = tickedProfiles();
    startListing(m_cookieListing, [this, &files, folder, includeIndexDat,
                                   profiles = std::move(profiles)](std::stop_token stop,
                                                                   const ListingHand& hand) {
        auto listed = std::make_shared<CookieList>();
        const Status status = listed->load(files, folder, includeIndexDat, [] {});
        hand([this, listed, status, folder] {
            m_program.logFailure(L"Cookies: " + folder + L" could not be listed", status);
            listed->setSort(m_cookies.sortColumn(), m_cookies.ascending(),
                            m_program.services().collation);
            m_cookies = std::move(*listed);
            m_view->showCookieRows(m_cookies);
        });
        for (const auto& [index, profile] : profiles) {
            if (stop.stop_requested()) return;
            auto cookies = std::make_shared<std::vector<BrowserCookie>>();
            std::wstring error = listBrowserCookies(files, profile, *cookies);
            hand([this, cookies, error = std::move(error), index = index, title = profile.title()] {
                if (!error.empty())
                    m_program.log().write(L"Cookies: " + title + L": not listed: " + error);
                m_cookies.appendBrowserCookies(title, index, *cookies,
                                               &m_program.services().collation);
                m_view->showCookieRows(m_cookies);
            });
        }
    });
}

void FrmMain::deletecookies(bool interactive) {
    m_program.state().includeIndexDat = false;
    Services& s = m_program.services();
    if (interactive &&
        s.dialogs.messageBox(L"Are you sure you wish to delete the selected cookies?",
                             L"Delete Cookies", kMbYesNo | kMbIconQuestion) != kIdYes) {
        return;
    }
    awaitListing(m_cookieListing);  // the run acts on the whole list
    if (m_cookies.rows().empty()) return;
    // The cookie folder's files first, then the browsers' cookies: a refusal of the folder is
    // told before those go.
    const ShownLists shown{nullptr, &m_cookies, &m_cookieFolder, interactive};
    CleanReport report;
    {
        BusyScope busy(*this);
        // The files' rows leave the list as their files go: what left is what was freed.
        const std::uint64_t before = cookieFileBytes(m_cookies);
        report.entries.push_back({&kCookieArea, runArea(kCookieArea, shown, false)});
        AreaResult& files = report.entries.back().result;
        if (files.ran) {
            files.bytes = before - cookieFileBytes(m_cookies);
            m_view->showCookieRows(m_cookies);
        }
    }
    // A refused cookie folder keeps its files (the log and the summary say so); the browsers'
    // cookies go all the same.
    if (m_program.browsers().anyTicked()) {
        BusyScope busy(*this);
        report.entries.push_back({&kBrowserCookiesArea, runArea(kBrowserCookiesArea, shown)});
    }
    if (interactive) tellSummary(report);
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

void FrmMain::lstcookies_ColumnClick(int column) {
    m_cookies.sortBy(column - 1, m_program.services().collation);
    m_view->showCookieRows(m_cookies);
}

}  // namespace purgeon
