// The splash window: a white popup with the artwork, the version, publisher and action labels.
#include "app/win32/splash_view.h"

#include <stdexcept>
#include <utility>

#include "app/app_text.h"
#include "product/product.h"
#include "app/win32/artwork.h"

namespace purgeon::win32 {

namespace {

constexpr wchar_t kClassName[] = L"frmSplash";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

constexpr int kClientWidth = 7380;
constexpr int kClientHeight = 4245;
// The artwork's band ends above the labels.
constexpr int kBandHeight = 2160;

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
    registerWindowClass(instance, kClassName, &viewWindowProc<Win32SplashView>, icon, smallIcon,
                        static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

Win32SplashView::Win32SplashView(HINSTANCE instance, FrmSplash& behaviour)
    : m_behaviour(behaviour) {
    ::CreateWindowExW(kExStyle, kClassName, kAppTitle, kStyle, 0, 0, 0, 0, nullptr, nullptr,
                      instance, this);
    if (!m_window) throw std::runtime_error("splash window");
    createControls();
    applyDpi(::GetDpiForWindow(m_window.get()));
    const TwipsScale scale(m_dpi);
    placeCentered(m_window.get(), scale.px(kClientWidth), scale.px(kClientHeight), m_dpi);
}

Win32SplashView::~Win32SplashView() { m_window.reset(); }

void Win32SplashView::createControls() {
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_window.get(), GWLP_HINSTANCE));
    // Labels first: they lie above the picture, which covers the whole window.
    for (const LabelPlace& place : kLabels) {
        m_controls[place.label] = ::CreateWindowExW(
            0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
            m_window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(place.label))),
            instance, nullptr);
    }
    m_controls[Ctl::Picture1] = ::CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW, 0, 0, 0, 0,
        m_window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(Ctl::Picture1))),
        instance, nullptr);
}

void Win32SplashView::applyDpi(UINT dpi) {
    m_dpi = dpi;
    // The labels take the new fonts before the old ones are released.
    UniqueGdiObject versionFont = createMessageFont(dpi, true, 1200);
    UniqueGdiObject generalFont = createMessageFont(dpi, true, 825);
    UniqueGdiObject actionFont = createMessageFont(dpi);
    const TwipsScale scale(dpi);
    for (const LabelPlace& place : kLabels) {
        const UniqueGdiObject& font = place.label == Ctl::lblversion   ? versionFont
                                      : place.label == Ctl::lblgeneral ? generalFont
                                                                       : actionFont;
        ::SendMessageW(control(place.label), WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(font)),
                       FALSE);
        moveControl(control(place.label), scale.rect(place.rect));
    }
    m_versionFont = std::move(versionFont);
    m_generalFont = std::move(generalFont);
    m_actionFont = std::move(actionFont);
    moveControl(control(Ctl::Picture1), scale.rect({0, 0, kClientWidth, kClientHeight}));
    ::InvalidateRect(m_window.get(), nullptr, TRUE);
}

HWND Win32SplashView::control(Ctl label) const {
    auto found = m_controls.find(label);
    return found == m_controls.end() ? nullptr : found->second;
}

void Win32SplashView::show() {
    if (!m_window) return;
    ::ShowWindow(m_window.get(), SW_SHOW);
    ::SetForegroundWindow(m_window.get());
    ::UpdateWindow(m_window.get());
}

void Win32SplashView::destroy() { m_window.reset(); }

void Win32SplashView::setText(Ctl label, const std::wstring& text) {
    ::SetWindowTextW(control(label), text.c_str());
}

void Win32SplashView::repaint(Ctl label) {
    ::RedrawWindow(control(label), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32SplashView::windowCreated(HWND window) { m_window.reset(window); }

void Win32SplashView::windowGone() {
    m_window.release();
    m_controls.clear();
}

LRESULT Win32SplashView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = m_window.get();
    switch (message) {
        case WM_ACTIVATE:
            // Start-up runs from the message loop, once the activation itself is complete.
            if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kMsgActivated, 0, 0);
            break;
        case kMsgActivated:
            // Start-up blocks the thread: the whole splash is painted before it begins.
            ::UpdateWindow(window);
            guarded([&] { m_behaviour.Form_Activate(); });
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
            drawSplashArt(item->hDC, item->rcItem, TwipsScale(m_dpi).px(kBandHeight));
            return TRUE;
        }
        case WM_DPICHANGED: {
            guarded([&] {
                applyDpi(HIWORD(wParam));
                placeForDpi(window, lParam, kClientWidth, kClientHeight, m_dpi);
            });
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace purgeon::win32
