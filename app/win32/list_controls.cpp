// Report columns and list subclassing.
#include "app/win32/list_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

// The least a column that follows the list's width keeps, at 96 DPI.
constexpr int kLeastColumnWidth = 40;

}  // namespace

void setUpReport(HWND listView, std::initializer_list<const wchar_t*> titles, int widthTwips,
                 UINT dpi) {
    ::SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                   LVS_EX_FULLROWSELECT);
    const TwipsScale scale(dpi);
    int index = 0;
    for (const wchar_t* title : titles) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title);
        column.cx = scale.px(widthTwips);
        column.iSubItem = index;
        ::SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

void rescaleColumns(HWND listView, UINT previousDpi, UINT dpi) {
    if (previousDpi == dpi) return;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < columns; ++i) {
        const int width = static_cast<int>(
            ::SendMessageW(listView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
        ::SendMessageW(listView, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                       ::MulDiv(width, static_cast<int>(dpi), static_cast<int>(previousDpi)));
    }
}

std::vector<int> widthsAfterChange(std::vector<int> widths, const std::vector<int>& columns,
                                   int change, UINT dpi) {
    const int least = ::MulDiv(kLeastColumnWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int count = static_cast<int>(columns.size());
    int shared = 0;
    for (int i = 0; i < count; ++i) {
        const int part = i + 1 == count ? change - shared : change / count;
        shared += part;
        const auto column = static_cast<std::size_t>(columns[static_cast<std::size_t>(i)]);
        if (column < widths.size()) widths[column] = std::max(least, widths[column] + part);
    }
    return widths;
}

void followListWidth(HWND listView, ListWidth& known, UINT dpi) {
    RECT client{};
    if (listView == nullptr || !::GetClientRect(listView, &client)) return;
    const int width = client.right - client.left;
    if (width <= 0) return;  // not yet placed: nothing to follow
    if (known.pixels > 0 && known.dpi != 0) {
        const int before =
            ::MulDiv(known.pixels, static_cast<int>(dpi), static_cast<int>(known.dpi));
        if (width != before)
            setColumnWidths(listView, widthsAfterChange(columnWidths(listView), known.columns,
                                                        width - before, dpi));
    }
    known.pixels = width;
    known.dpi = dpi;
}

int columnWidthFor(HWND listView, const wchar_t* text) {
    const int textWidth = static_cast<int>(
        ::SendMessageW(listView, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    // The list's own margin on each side of a cell's text.
    return textWidth + 2 * ::GetSystemMetrics(SM_CXEDGE) + 12;
}

void showSortMark(HWND listView, int column, bool ascending) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < columns; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&item)))
            continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
    }
}

void copyCellText(std::wstring_view text, LVITEMW& item) {
    if (item.pszText == nullptr || item.cchTextMax <= 0) return;
    const std::size_t copied =
        text.copy(item.pszText, static_cast<std::size_t>(item.cchTextMax) - 1);
    item.pszText[copied] = L'\0';
}

namespace {

int columnCount(HWND listView) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    return static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

}  // namespace

std::vector<int> columnWidths(HWND listView) {
    std::vector<int> widths;
    for (int i = 0, columns = columnCount(listView); i < columns; ++i)
        widths.push_back(static_cast<int>(
            ::SendMessageW(listView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0)));
    return widths;
}

void setColumnWidths(HWND listView, const std::vector<int>& widths) {
    if (static_cast<int>(widths.size()) != columnCount(listView)) return;
    for (std::size_t i = 0; i < widths.size(); ++i)
        ::SendMessageW(listView, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), widths[i]);
}

void Subclass::install(HWND control, WNDPROC procedure, void* owner) {
    m_owner = owner;
    ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

const Subclass* Subclass::recordOf(HWND control) {
    return reinterpret_cast<const Subclass*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT Subclass::callOriginal(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const Subclass* record = recordOf(control);
    if (record == nullptr || record->m_original == nullptr)
        return ::DefWindowProcW(control, message, wParam, lParam);
    return ::CallWindowProcW(record->m_original, control, message, wParam, lParam);
}

}  // namespace purgeon::win32
