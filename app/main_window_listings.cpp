// The main window's listings off its thread: starting, awaiting and stopping them, the ticked
// browsers they list, and "Listing..." in the status bar while any runs.
#include "app/main_window.h"
#include "app/program.h"

namespace purgeon {

namespace {

// The status text while a list is being listed.
constexpr wchar_t kListingText[] = L"Listing...";

}  // namespace

void FrmMain::startListing(std::unique_ptr<ListingRunner>& runner, ListingWork work) {
    if (!runner) runner = m_program.createListingRunner();
    runner->start(std::move(work), [this] { showListingStatus(); });
    showListingStatus();
}

void FrmMain::awaitListing(const std::unique_ptr<ListingRunner>& runner) {
    if (runner && runner->running()) runner->wait();
}

bool FrmMain::listing() const {
    for (const auto* runner : {&m_cookieListing, &m_cacheListing, &m_historyListing})
        if (*runner && (*runner)->running()) return true;
    return m_applications && m_applications->listing();
}

void FrmMain::stopListings() {
    for (auto* runner : {&m_cookieListing, &m_cacheListing, &m_historyListing})
        if (*runner) (*runner)->stop();
    if (m_applications) m_applications->stopListing();
    showListingStatus();
}

void FrmMain::showListingStatus() {
    const bool any = listing();
    if (any && m_statusText.empty()) {
        setStatusText(kListingText);
    } else if (!any && m_statusText == kListingText) {
        setStatusText(L"");
    }
}

std::vector<std::pair<std::size_t, BrowserProfile>> FrmMain::tickedProfiles() const {
    const std::vector<BrowserChoice>& choices = m_program.browsers().choices();
    std::vector<std::pair<std::size_t, BrowserProfile>> ticked;
    for (std::size_t index = 0; index < choices.size(); ++index)
        if (choices[index].ticked) ticked.emplace_back(index, choices[index].profile);
    return ticked;
}

}  // namespace purgeon
