// Report columns and list subclassing.
#include "app/win32/list_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

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

std::wstring columnWidthsText(HWND listView) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::wstring text;
    for (int i = 0; i < columns; ++i) {
        if (i > 0) text += L',';
        text += std::to_wstring(
            ::SendMessageW(listView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
    }
    return text;
}

void setColumnWidths(HWND listView, const std::wstring& text) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> widths;
    std::size_t at = 0;
    while (at <= text.size() && !text.empty()) {
        const std::size_t comma = std::min(text.find(L',', at), text.size());
        const std::wstring part = text.substr(at, comma - at);
        if (part.empty() || part.size() > 5 ||
            part.find_first_not_of(L"0123456789") != std::wstring::npos)
            return;
        widths.push_back(std::stoi(part));
        at = comma + 1;
    }
    if (static_cast<int>(widths.size()) != columns) return;
    for (int i = 0; i < columns; ++i)
        ::SendMessageW(listView, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                       widths[static_cast<std::size_t>(i)]);
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
