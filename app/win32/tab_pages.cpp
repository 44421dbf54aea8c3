// The tab pages: their windows, their place over the tab control, their captured background.
#include "app/win32/tab_pages.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include <commctrl.h>

#include "app/win32/gdi_guards.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

constexpr wchar_t kPageClassName[] = L"PurgeonTabPage";

}  // namespace

void TabPages::registerClass(HINSTANCE instance) {
    WNDCLASSEXW pageClass{};
    pageClass.cbSize = sizeof(pageClass);
    pageClass.lpfnWndProc = &TabPages::pageProc;
    pageClass.hInstance = instance;
    pageClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    pageClass.lpszClassName = kPageClassName;
    if (!::RegisterClassExW(&pageClass)) throw std::runtime_error("tab page class");
}

void TabPages::create(HINSTANCE instance, HWND window) {
    for (HWND& page : m_pages) {
        page = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClassName, L"", WS_CHILD, 0, 0, 0, 0,
                                 window, nullptr, instance, this);
        if (page == nullptr) throw std::runtime_error("tab page");
    }
}

void TabPages::forget() { m_pages.fill(nullptr); }

bool TabPages::isPage(HWND window) const {
    return window != nullptr && std::find(m_pages.begin(), m_pages.end(), window) != m_pages.end();
}

void TabPages::place(HWND tabs, const RECT& tabArea) {
    RECT firstTab{};
    ::SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstTab));
    m_top = std::max(0, static_cast<int>(firstTab.bottom));
    for (HWND page : m_pages) {
        moveControl(page, RECT{tabArea.left, tabArea.top + m_top, tabArea.right, tabArea.bottom});
    }
}

void TabPages::show(int index) {
    for (int i = 0; i < kTabCount; ++i) {
        if (i != index) ::ShowWindow(page(i), SW_HIDE);
    }
    if (index >= 0 && index < kTabCount) ::ShowWindow(page(index), SW_SHOWNA);
}

// The tab control's page, drawn once into a bitmap: labels, boxes and frames on a page paint
// their background from it.
void TabPages::captureBackground(HWND tabs) {
    RECT area{};
    ::GetClientRect(tabs, &area);
    if (area.right <= 0 || area.bottom <= 0) return;
    WindowDc screen(tabs);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), area.right, area.bottom));
    if (!bitmap) return;
    {
        MemoryDc memory(screen.get());
        const SelectedObject selected(memory.get(), bitmap.get());
        ::FillRect(memory.get(), &area, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
                       PRF_CLIENT | PRF_ERASEBKGND);
    }
    UniqueGdiObject brush(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
    if (!brush) return;
    m_brush = std::move(brush);
    m_bitmap = std::move(bitmap);
    for (HWND page : m_pages) {
        ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HBRUSH TabPages::backgroundFor(HWND control, HDC dc, HWND tabs) const {
    if (!m_brush) return nullptr;
    // The control's corner lies at this point of the tab control.
    POINT corner{0, 0};
    ::MapWindowPoints(control, tabs, &corner, 1);
    alignPattern(dc, POINT{-corner.x, -corner.y});
    return static_cast<HBRUSH>(m_brush.get());
}

// Aligns the pattern with the tab control, whose top-left corner is at this device point.
void TabPages::alignPattern(HDC dc, POINT tabOrigin) const {
    BITMAP picture{};
    if (!::GetObjectW(m_bitmap.get(), sizeof(picture), &picture)) return;
    if (picture.bmWidth <= 0 || picture.bmHeight <= 0) return;
    const int x = ((tabOrigin.x % picture.bmWidth) + picture.bmWidth) % picture.bmWidth;
    const int y = ((tabOrigin.y % picture.bmHeight) + picture.bmHeight) % picture.bmHeight;
    ::SetBrushOrgEx(dc, x, y, nullptr);
}

void TabPages::paint(HWND page, HDC dc) const {
    RECT area{};
    ::GetClientRect(page, &area);
    if (!m_brush) {
        ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // The page's own corner sits m_top below the tab control's.
    POINT viewport{};
    ::GetViewportOrgEx(dc, &viewport);
    alignPattern(dc, POINT{viewport.x, viewport.y - m_top});
    ::FillRect(dc, &area, static_cast<HBRUSH>(m_brush.get()));
}

LRESULT CALLBACK TabPages::pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(
            page, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    const auto* pages = reinterpret_cast<const TabPages*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            // The page's controls are the window's: their messages go to it.
            return ::SendMessageW(::GetParent(page), message, wParam, lParam);
        case WM_ERASEBKGND:
            if (pages == nullptr) break;
            pages->paint(page, reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_PRINTCLIENT:
            if (pages == nullptr) break;
            pages->paint(page, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(page, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(page, message, wParam, lParam);
}

}  // namespace purgeon::win32
