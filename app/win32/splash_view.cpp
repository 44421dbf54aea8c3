// The splash window: a white popup with the artwork, the version, publisher and action labels.
#include "app/win32/splash_view.h"

#include <utility>

#include "app/app_text.h"
#include "product/product.h"
#include "app/win32/artwork.h"

namespace purgeon::win32 {

namespace {

constexpr int kClientWidth = 7380;
constexpr int kClientHeight = 4245;
// The artwork's band ends above the labels.
constexpr int kBandHeight = 2160;
// Start-up's next step, from the message loop.
constexpr UINT kMsgNextStep = WM_APP + 8;

const WindowSpec kWindow{
    .className = L"frmSplash",
    .style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
    .exStyle = WS_EX_TOOLWINDOW,
    .clientWidth = kClientWidth,
    .clientHeight = kClientHeight,
    .background = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)),
};

struct LabelPlace {
    Ctl label;
    TwipsRect rect;
};
constexpr LabelPlace kLabels[] = {
    {Ctl::lblversion, {1680, 2400, 5400, 375}},
    {Ctl::lblgeneral, {1680, 3120, 5400, 285}},
    {Ctl::lblaction, {1680, 3720, 5400, 285}},
};

}  // namespace

void Win32SplashView::registerClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    ViewWindow::registerClass(instance, kWindow, icon, smallIcon);
}

Win32SplashView::Win32SplashView(HINSTANCE instance, FrmSplash& behaviour)
    : ViewWindow(kWindow), m_behaviour(behaviour) {
    createWindow(instance, kAppTitle);
    createControls();
    placeOnScreen();
}

Win32SplashView::~Win32SplashView() { destroyWindow(); }

void Win32SplashView::createControls() {
    // Labels first: they lie above the picture, which covers the whole window.
    for (const LabelPlace& place : kLabels) {
        m_controls.add(place.label, createControl(instance(), window(), place.label,
                                                  {L"STATIC", SS_LEFT | SS_NOPREFIX}));
    }
    m_controls.add(Ctl::Picture1, createControl(instance(), window(), Ctl::Picture1,
                                                {L"STATIC", WS_CLIPSIBLINGS | SS_OWNERDRAW}));
}

void Win32SplashView::applyDpi(UINT /*previousDpi*/) {
    // The labels take the new fonts before the old ones are released.
    UniqueGdiObject versionFont = createMessageFont(dpi(), true, 1200);
    UniqueGdiObject generalFont = createMessageFont(dpi(), true, 825);
    UniqueGdiObject actionFont = createMessageFont(dpi());
    const TwipsScale scale(dpi());
    for (const LabelPlace& place : kLabels) {
        const UniqueGdiObject& font = place.label == Ctl::lblversion   ? versionFont
                                      : place.label == Ctl::lblgeneral ? generalFont
                                                                       : actionFont;
        setFont(m_controls(place.label), font);
        moveControl(m_controls(place.label), scale.rect(place.rect));
    }
    m_versionFont = std::move(versionFont);
    m_generalFont = std::move(generalFont);
    m_actionFont = std::move(actionFont);
    moveControl(m_controls(Ctl::Picture1), scale.rect({0, 0, kClientWidth, kClientHeight}));
    ::InvalidateRect(window(), nullptr, TRUE);
}

void Win32SplashView::show() {
    if (!window()) return;
    ::ShowWindow(window(), SW_SHOW);
    ::SetForegroundWindow(window());
    ::UpdateWindow(window());
}

void Win32SplashView::destroy() { destroyWindow(); }

void Win32SplashView::setText(Ctl label, const std::wstring& text) {
    ::SetWindowTextW(m_controls(label), text.c_str());
}

void Win32SplashView::repaint(Ctl label) {
    ::RedrawWindow(m_controls(label), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32SplashView::continueLater() {
    if (window()) ::PostMessageW(window(), kMsgNextStep, 0, 0);
}

void Win32SplashView::windowGone() { m_controls.clear(); }

LRESULT Win32SplashView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Start-up runs from the message loop, once the activation itself is complete.
            if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window(), kMsgActivated, 0, 0);
            break;
        case kMsgActivated:
            // The whole splash is painted before start-up begins.
            ::UpdateWindow(window());
            guarded([&] { m_behaviour.Form_Activate(); });
            return 0;
        case kMsgNextStep:
            guarded([&] { m_behaviour.nextStep(); });
            return 0;  // the window may be gone by now
        case WM_CTLCOLORSTATIC: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, RGB(0, 0, 0));
            ::SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != static_cast<UINT>(controlId(Ctl::Picture1))) break;
            drawSplashArt(item->hDC, item->rcItem, TwipsScale(dpi()).px(kBandHeight));
            return TRUE;
        }
        default:
            break;
    }
    return ViewWindow::handle(message, wParam, lParam);
}

}  // namespace purgeon::win32
