// The main window's controls placed at the window's DPI: fonts, positions, the pages below the row
// of tabs, the status bar's panels, and the two controls that widen to fit their text.
#include "app/win32/main_window_view.h"

#include <algorithm>
#include <utility>

#include "app/win32/gdi_guards.h"
#include "app/win32/main_window_layout.h"

namespace purgeon::win32 {

namespace {

// The URL label never grows past the About page's rule.
constexpr int kUrlLabelRight = 7800;
// Room a push button needs either side of its text.
constexpr int kButtonTextMargin = 120;

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
    // The tab control first: its row of tabs, sized by the font, decides where the pages begin.
    const HWND tabs = handleOf(Ctl::SSTab1);
    const RECT tabArea = placement(Ctl::SSTab1);
    moveControl(tabs, tabArea);
    m_pages.place(tabs, tabArea);
    for (const ControlPlace& place : mainWindowControls()) {
        if (place.kind != ControlKind::StatusBar && place.kind != ControlKind::Tabs) {
            moveControl(handleOf(place.control), placement(place.control));
        }
    }
    m_font = std::move(font);
    m_boldFont = std::move(boldFont);
    m_appNameFont = std::move(appNameFont);

    m_cookies.rescaleColumns(previousDpi, dpi());
    m_history.rescaleColumns(previousDpi, dpi());
    m_cache.rescaleColumns(previousDpi, dpi());
    fitToText();
    layoutStatusBar();
    m_pages.captureBackground(tabs);
    ::InvalidateRect(window(), nullptr, TRUE);
}

void Win32MainWindowView::placed() { layoutStatusBar(); }

RECT Win32MainWindowView::placement(Ctl control) const {
    const ControlPlace& place = placeOf(control);
    RECT r = TwipsScale(dpi()).rect(place.rect);
    if (place.tab != kNoTab) ::OffsetRect(&r, 0, -m_pages.top());
    return r;
}

void Win32MainWindowView::layoutStatusBar() { m_operation.layoutStatusBar(dpi()); }

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
                                 static_cast<int>(r.right), scale.px(kUrlLabelRight));
        } else {
            const int needed = extent.right + 2 * scale.px(kButtonTextMargin);
            r.left = std::min(static_cast<int>(r.left), static_cast<int>(r.right) - needed);
        }
        moveControl(control, r);
    }
}

}  // namespace purgeon::win32
