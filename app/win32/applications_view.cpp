// The Applications tab: the entries with their ticks, filled from the behaviour's rows, the
// ticks and buttons handed back to it.
#include "app/win32/applications_view.h"

#include <algorithm>

#include "app/win32/list_controls.h"
#include "app/win32/view_support.h"
#include "wipe/wipe_report.h"

namespace purgeon::win32 {

namespace {

// Until the list is placed: each column's width.
constexpr int kColumnWidth = 1200;

enum Column { kEntry, kSection, kFiles, kSize, kRegistry };

// The tick is the state image: 1 unticked, 2 ticked.
bool tickOf(UINT state) { return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2; }

}  // namespace

void ApplicationsListView::attach(HWND list, HWND ruleText, HWND getRules, HWND automatic,
                                  UINT dpi) {
    m_list = list;
    m_ruleText = ruleText;
    m_getRules = getRules;
    m_automatic = automatic;
    ::ShowWindow(getRules, SW_HIDE);  // until the tab finds no rule file
    setUpReport(list, {L"Entry", L"Section", L"Files", L"Size", L"Registry"}, kColumnWidth, dpi);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER);
    // The entry takes what the others leave.
    RECT client{};
    ::GetClientRect(list, &client);
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int section = width / 5;
    const int files = width / 10;
    const int size = width / 6;
    const int registry = width / 7;
    ListView_SetColumnWidth(list, kEntry, width - section - files - size - registry);
    ListView_SetColumnWidth(list, kSection, section);
    ListView_SetColumnWidth(list, kFiles, files);
    ListView_SetColumnWidth(list, kSize, size);
    ListView_SetColumnWidth(list, kRegistry, registry);
    for (const int right : {kFiles, kSize, kRegistry}) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT;
        column.fmt = LVCFMT_RIGHT;
        ::SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(right),
                       reinterpret_cast<LPARAM>(&column));
    }
}

void ApplicationsListView::detach() {
    m_list = m_ruleText = m_getRules = m_automatic = nullptr;
    m_names.clear();
}

void ApplicationsListView::rescaleColumns(UINT previousDpi, UINT dpi) {
    win32::rescaleColumns(m_list, previousDpi, dpi);
}

void ApplicationsListView::showRows(const std::vector<AppRow>& rows) {
    if (m_list == nullptr) return;
    // The selected entry stays selected wherever its row goes.
    const int selected = selectedRow();
    const std::wstring selectedName =
        selected >= 0 && static_cast<std::size_t>(selected) < m_names.size()
            ? m_names[static_cast<std::size_t>(selected)]
            : std::wstring();
    const FlagScope filling(m_filling);
    ++m_generation;
    const RedrawPause pause(m_list);
    ::SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    m_names.clear();
    int place = 0;
    for (const AppRow& row : rows) {
        // A row that is no files and registry items says what it is instead.
        const std::wstring cells[] = {
            row.note.empty() ? row.name : row.name + L" (" + row.note + L")", row.section,
            row.counted ? std::to_wstring(row.files) : L"", row.counted ? sizeText(row.bytes) : L"",
            row.counted ? std::to_wstring(row.registry) : L""};
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = place;
        item.pszText = const_cast<wchar_t*>(cells[kEntry].c_str());
        const int inserted = static_cast<int>(
            ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted < 0) continue;
        for (int column = kSection; column <= kRegistry; ++column)
            ListView_SetItemText(m_list, inserted, column,
                                 const_cast<wchar_t*>(cells[column].c_str()));
        ListView_SetCheckState(m_list, inserted, row.ticked ? TRUE : FALSE);
        if (!selectedName.empty() && row.name == selectedName)
            ListView_SetItemState(m_list, inserted, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        m_names.push_back(row.name);
        ++place;
    }
}

void ApplicationsListView::showTick(std::size_t row, bool ticked) {
    if (m_list == nullptr || row >= m_names.size()) return;
    const FlagScope filling(m_filling);
    ListView_SetCheckState(m_list, static_cast<int>(row), ticked ? TRUE : FALSE);
}

void ApplicationsListView::showRuleFile(const std::wstring& text, bool offerRules) {
    if (m_ruleText == nullptr) return;
    ::SetWindowTextW(m_ruleText, text.c_str());
    ::ShowWindow(m_getRules, offerRules ? SW_SHOWNA : SW_HIDE);
}

void ApplicationsListView::showAutomatic(bool ticked) {
    if (m_automatic == nullptr) return;
    ::SendMessageW(m_automatic, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool ApplicationsListView::onNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_list || m_list == nullptr) return false;
    result = FALSE;
    if (header.code != LVN_ITEMCHANGING || m_filling) return true;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) == 0 ||
        ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK) == 0 || change.iItem < 0 ||
        (change.uOldState & LVIS_STATEIMAGEMASK) == 0)
        return true;
    result = TRUE;
    const LPARAM tick = static_cast<LPARAM>(m_generation) * 2 + (tickOf(change.uNewState) ? 1 : 0);
    ::PostMessageW(::GetAncestor(m_list, GA_ROOT), kMsgAppTicked, static_cast<WPARAM>(change.iItem),
                   tick);
    return true;
}

void ApplicationsListView::ticked(WPARAM wParam, LPARAM lParam) {
    if (m_list == nullptr) return;
    const bool tick = (lParam & 1) != 0;
    const auto row = static_cast<std::size_t>(wParam);
    ApplicationsTab& tab = m_behaviour.applications();
    // Rows that changed before the tick was handed on were not those the user ticked.
    if (static_cast<unsigned>(lParam / 2) == m_generation) tab.tick(row, tick);
}

int ApplicationsListView::selectedRow() const {
    if (m_list == nullptr) return -1;
    return static_cast<int>(
        ::SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ApplicationsListView::previewClicked() {
    const int row = selectedRow();
    m_behaviour.applications().preview(row < 0 ? static_cast<std::size_t>(-1)
                                               : static_cast<std::size_t>(row));
}

void ApplicationsListView::cleanClicked() { m_behaviour.applications().clean(); }

void ApplicationsListView::getRulesClicked() { m_behaviour.applications().getRules(); }

void ApplicationsListView::automaticClicked() {
    m_behaviour.applications().setAutomatic(::SendMessageW(m_automatic, BM_GETCHECK, 0, 0) ==
                                            BST_CHECKED);
}

}  // namespace purgeon::win32
