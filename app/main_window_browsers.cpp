// The main window's browser choices (General tab) and the cookie keep list (Cookies tab).
#include "clean/browser_areas.h"
#include "app/main_window.h"
#include "app/program.h"
#include "product/product.h"

namespace purgeon {

void FrmMain::showBrowserChoices() {
    std::vector<std::pair<std::wstring, bool>> shown;
    for (const BrowserChoice& choice : m_program.browsers().choices())
        shown.emplace_back(choice.profile.title(), choice.ticked);
    m_view->showBrowserChoices(shown);
}

void FrmMain::showKeepList() {
    m_keepRow = -1;
    m_view->showKeepList(m_program.browsers().keepList().sites());
}

void FrmMain::lstBrowsers_ItemChecked(int row, bool checked) {
    if (row < 0) return;
    m_program.browsers().setTicked(static_cast<std::size_t>(row), checked);
}

void FrmMain::cmdKeepSite_Click() {
    BrowserAreas& browsers = m_program.browsers();
    Services& s = m_program.services();
    std::size_t added = 0;
    for (const CookieRow& row : m_cookies.rows()) {
        if (!row.selected) continue;
        if (row.fromBrowser()) {
            added += browsers.keepList().add(row.cookie.host) ? 1 : 0;
            continue;
        }
        std::string content;
        if (!s.files.readFile(row.path, content)) continue;
        for (const std::wstring& host : cookieFileHosts(content))
            added += browsers.keepList().add(host) ? 1 : 0;
    }
    if (added == 0) return;
    m_program.log().write(L"Cookie keep list: " + browsers.keepList().stored());
    m_program.logFailure(L"Cookie keep list: not saved", browsers.save(s.settings, kAppTitle));
    showKeepList();
}

void FrmMain::cmdUnkeepSite_Click() {
    BrowserAreas& browsers = m_program.browsers();
    const std::vector<std::wstring>& sites = browsers.keepList().sites();
    if (m_keepRow < 0 || m_keepRow >= static_cast<int>(sites.size())) return;
    browsers.keepList().remove(sites[static_cast<std::size_t>(m_keepRow)]);
    m_program.log().write(L"Cookie keep list: " + browsers.keepList().stored());
    m_program.logFailure(L"Cookie keep list: not saved",
                         browsers.save(m_program.services().settings, kAppTitle));
    showKeepList();
}

void FrmMain::lstKeepCookies_Click(int row) { m_keepRow = row; }

}  // namespace purgeon
