// The main window's controls placed at the window's size and DPI: fonts, positions grown by their
// anchors, the pages below the row of tabs, the status bar's panels, the two controls that widen
// to fit their text, the texts shortened in their middle to fit, and the lists' column widths.
#include "app/win32/main_window_view.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>

#include "app/shortened_text.h"
#include "app/win32/gdi_guards.h"
#include "app/win32/list_controls.h"
#include "app/win32/main_window_layout.h"

namespace purgeon::win32 {

namespace {

// The URL label never grows past the About page's rule (at the smallest size).
constexpr int kUrlLabelRight = 7800;
// Room a push button needs either side of its text.
constexpr int kButtonTextMargin = 120;

// Whether the text, in the font, fits the width in pixels.
FitsWidth fitsIn(HWND control, HFONT font, int width) {
    return [control, font, width](const std::wstring& text) {
        const WindowDc dc(control);
        const SelectedObject selected(dc.get(), font);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx <= width;
    };
}

}  // namespace

void Win32MainWindowView::applyDpi(UINT previousDpi) {
    // The controls take the new fonts before the old ones are released.
    UniqueGdiObject font = createMessageFont(dpi());
    UniqueGdiObject boldFont = createMessageFont(dpi(), true);
    UniqueGdiObject appNameFont = createMessageFont(dpi(), true, 1125, L"Arial");
    for (const ControlPlace& place : mainWindowControls()) {
        setFont(handleOf(place.control), place.kind == ControlKind::Frame   ? boldFont
                                         : place.control == Ctl::lblappname ? appNameFont
                                                                            : font);
    }
    m_font = std::move(font);
    m_boldFont = std::move(boldFont);
    m_appNameFont = std::move(appNameFont);

    m_cookies.rescaleColumns(previousDpi, dpi());
    m_history.rescaleColumns(previousDpi, dpi());
    m_cache.rescaleColumns(previousDpi, dpi());
    m_apps.rescaleColumns(previousDpi, dpi());
    layoutControls();
    ::InvalidateRect(window(), nullptr, TRUE);
}

void Win32MainWindowView::placed() { layoutControls(); }

void Win32MainWindowView::layoutControls() {
    // The tab control first: its row of tabs, sized by the font, decides where the pages begin.
    const HWND tabs = handleOf(Ctl::SSTab1);
    if (tabs == nullptr || m_holdLayout) return;  // not yet made, or gone; or laid out later
    const RECT tabArea = placement(Ctl::SSTab1);
    moveControl(tabs, tabArea);
    m_pages.place(tabs, tabArea);
    for (const ControlPlace& place : mainWindowControls()) {
        if (place.kind != ControlKind::StatusBar && place.kind != ControlKind::Tabs) {
            moveControl(handleOf(place.control), placement(place.control));
        }
    }
    fitToText();
    layoutStatusBar();
    for (const auto& [control, text] : m_wholeTexts) showFitted(control);
    // Each list's widest columns follow the list's width.
    m_cookies.followWidth(dpi());
    m_history.followWidth(dpi());
    m_cache.followWidth(dpi());
    m_apps.followWidth(dpi());
    m_pages.captureBackground(tabs);
    // Every control painted afresh at its new place: a move copies the old pixels, which the
    // controls drawn from the window's size (the banner, the frames) would keep.
    ::RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SIZE Win32MainWindowView::extraSize() const {
    RECT client{};
    ::GetClientRect(window(), &client);
    const TwipsScale scale(dpi());
    return SIZE{std::max(0, static_cast<int>(client.right) - scale.px(kMainClientWidth)),
                std::max(0, static_cast<int>(client.bottom) - scale.px(kMainClientHeight))};
}

RECT Win32MainWindowView::placement(Ctl control) const {
    const ControlPlace& place = placeOf(control);
    const SIZE extra = extraSize();
    RECT r = anchoredRect(TwipsScale(dpi()).rect(place.rect), place.grow, extra.cx, extra.cy);
    if (place.tab != kNoTab) ::OffsetRect(&r, 0, -m_pages.top());
    return r;
}

void Win32MainWindowView::layoutStatusBar() {
    m_operation.layoutStatusBar(dpi());
    showFittedStatus();
}

// Two controls may outgrow their place when the system font is wide: the URL label, whose text
// the build sets, widens to the right up to the rule's end; the updates button widens to the left.
void Win32MainWindowView::fitToText() {
    const TwipsScale scale(dpi());
    for (Ctl fitted : {Ctl::lblurl, Ctl::cmdcheckForUpdates}) {
        const HWND control = handleOf(fitted);
        if (control == nullptr) continue;
        const std::wstring text = windowText(control);
        RECT extent{};
        {
            const WindowDc dc(control);
            const SelectedObject selected(dc.get(), m_font.get());
            const UINT prefix = fitted == Ctl::lblurl ? DT_NOPREFIX : 0;
            ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
                        DT_CALCRECT | DT_SINGLELINE | prefix);
        }
        RECT r = placement(fitted);
        if (fitted == Ctl::lblurl) {
            r.right = std::clamp(static_cast<int>(r.left + extent.right + scale.px(30)),
                                 static_cast<int>(r.right),
                                 scale.px(kUrlLabelRight) + static_cast<int>(extraSize().cx));
        } else {
            const int needed = extent.right + 2 * scale.px(kButtonTextMargin);
            r.left = std::min(static_cast<int>(r.left), static_cast<int>(r.right) - needed);
        }
        moveControl(control, r);
    }
}

bool Win32MainWindowView::isFitted(Ctl control) const {
    return control == Ctl::txtCookieDir || control == Ctl::txtFolderToWipe ||
           control == Ctl::txtFileToWipe;
}

void Win32MainWindowView::showFitted(Ctl control) {
    const HWND field = handleOf(control);
    if (field == nullptr) return;
    const std::wstring& whole = m_wholeTexts[control];
    std::wstring shown = whole;
    if (::GetFocus() != field) {
        RECT client{};
        ::GetClientRect(field, &client);
        const LRESULT margins = ::SendMessageW(field, EM_GETMARGINS, 0, 0);
        const int width = client.right - LOWORD(margins) - HIWORD(margins) - 2;
        shown = shortenedInMiddle(whole, fitsIn(field, fontOf(m_font), width));
    }
    if (shown == windowText(field)) return;
    m_settingText = true;
    ::SetWindowTextW(field, shown.c_str());
    m_settingText = false;
}

void Win32MainWindowView::showFittedStatus() {
    const HWND status = handleOf(Ctl::sbar);
    if (status == nullptr) return;
    RECT part{};
    ::SendMessageW(status, SB_GETRECT, kStatusPart, reinterpret_cast<LPARAM>(&part));
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(status, WM_GETFONT, 0, 0));
    const int width = part.right - part.left - 2 * ::GetSystemMetricsForDpi(SM_CXEDGE, dpi()) - 6;
    const std::wstring shown = shortenedInMiddle(m_statusText, fitsIn(status, font, width));
    ::SendMessageW(status, SB_SETTEXTW, kStatusPart, reinterpret_cast<LPARAM>(shown.c_str()));
}

void Win32MainWindowView::fieldFocusChanged(Ctl source) { showFitted(source); }

// The settings keep the widths at 96 DPI, so that they show the same on a monitor of another,
// and as they are at the window's normal size: a maximised window's extra width, which the
// columns that follow the list's width hold, comes off them again.
std::vector<int> Win32MainWindowView::columnWidths(Ctl list) const {
    std::vector<int> widths = win32::columnWidths(handleOf(list));
    const ListWidth* followed = list == Ctl::lstcookies ? &m_cookies.followedWidth()
                                : list == Ctl::List1    ? &m_cache.followedWidth()
                                : list == Ctl::URLs     ? &m_history.followedWidth()
                                                        : nullptr;
    RECT frame{};
    if (followed != nullptr && ::IsZoomed(window()) && m_normalFrame.right > m_normalFrame.left &&
        ::GetWindowRect(window(), &frame)) {
        const int extra = (frame.right - frame.left) - (m_normalFrame.right - m_normalFrame.left);
        if (extra > 0) widths = widthsAfterChange(widths, followed->columns, -extra, dpi());
    }
    for (int& width : widths)
        width = std::max(1, ::MulDiv(width, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi())));
    return widths;
}

void Win32MainWindowView::setColumnWidths(Ctl list, const std::vector<int>& widths) {
    std::vector<int> scaled = widths;
    for (int& width : scaled)
        width = ::MulDiv(width, static_cast<int>(dpi()), USER_DEFAULT_SCREEN_DPI);
    win32::setColumnWidths(handleOf(list), scaled);
}

}  // namespace purgeon::win32
