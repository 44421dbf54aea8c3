// GDI drawing of the product artwork; every size follows the area it is drawn into.
#include "app/win32/artwork.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/win32/gdi_guards.h"

namespace purgeon::win32 {

namespace {

constexpr COLORREF kNavy = RGB(16, 42, 84);
constexpr COLORREF kBlue = RGB(44, 116, 196);
constexpr COLORREF kPale = RGB(238, 246, 255);
constexpr COLORREF kCoral = RGB(232, 92, 80);
constexpr COLORREF kSleeve = RGB(52, 120, 200);
constexpr COLORREF kDust = RGB(150, 176, 206);
constexpr COLORREF kTaglineColor = RGB(200, 224, 250);

constexpr wchar_t kProductName[] = L"Purgeon";
constexpr wchar_t kTagline[] = L"Clears the traces your browsing leaves behind";

// The band's colours: the product's blues, or the system's own in a high-contrast theme, so that
// the name and the tagline stay readable in it.
struct BandColors {
    COLORREF from;
    COLORREF to;
    COLORREF name;
    COLORREF tagline;
    COLORREF accent;
};

bool highContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

BandColors bandColors() {
    if (highContrast()) {
        const COLORREF back = ::GetSysColor(COLOR_WINDOW);
        const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
        return {back, back, text, text, ::GetSysColor(COLOR_HIGHLIGHT)};
    }
    return {kNavy, kBlue, RGB(255, 255, 255), kTaglineColor, kCoral};
}

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

COLORREF blend(COLORREF from, COLORREF to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * step / std::max(steps, 1); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

void fillSolid(HDC dc, const RECT& r, COLORREF color) {
    UniqueGdiObject brush(::CreateSolidBrush(color));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

// A two-colour gradient drawn as narrow bands.
void fillGradient(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool vertical) {
    const int length = vertical ? height(r) : width(r);
    const int steps = std::clamp(length / 2, 1, 128);
    for (int i = 0; i < steps; ++i) {
        RECT band = r;
        const int start = length * i / steps;
        const int end = length * (i + 1) / steps;
        if (vertical) {
            band.top = r.top + start;
            band.bottom = r.top + end;
        } else {
            band.left = r.left + start;
            band.right = r.left + end;
        }
        fillSolid(dc, band, blend(from, to, i, steps - 1));
    }
}

UniqueGdiObject createArtFont(int pixelHeight, int weight, int escapement = 0) {
    LOGFONTW font{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        font = metrics.lfMessageFont;
    }
    font.lfHeight = -std::max(pixelHeight, 1);
    font.lfWidth = 0;
    font.lfWeight = weight;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfQuality = ANTIALIASED_QUALITY;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    return UniqueGdiObject(::CreateFontIndirectW(&font));
}

void drawText(HDC dc, const UniqueGdiObject& font, int x, int y, COLORREF color,
              std::wstring_view text) {
    SelectedObject selected(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    ::TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

SIZE textSize(HDC dc, const UniqueGdiObject& font, std::wstring_view text) {
    SelectedObject selected(dc, font.get());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

struct Fraction {
    int x;  // thousandths of the mark's side
    int y;
};

template <std::size_t N>
void fillPolygon(HDC dc, int left, int top, int side, const std::array<Fraction, N>& shape,
                 COLORREF fill, COLORREF outline, int penWidth) {
    std::array<POINT, N> points{};
    for (std::size_t i = 0; i < N; ++i) {
        points[i] = POINT{left + shape[i].x * side / 1000, top + shape[i].y * side / 1000};
    }
    UniqueGdiObject brush(::CreateSolidBrush(fill));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, penWidth, outline));
    SelectedObject brushSelected(dc, brush.get());
    SelectedObject penSelected(dc, pen.get());
    ::Polygon(dc, points.data(), static_cast<int>(N));
}

void drawLine(HDC dc, int left, int top, int side, Fraction from, Fraction to, COLORREF color,
              int penWidth) {
    UniqueGdiObject pen(::CreatePen(PS_SOLID, penWidth, color));
    SelectedObject penSelected(dc, pen.get());
    ::MoveToEx(dc, left + from.x * side / 1000, top + from.y * side / 1000, nullptr);
    ::LineTo(dc, left + to.x * side / 1000, top + to.y * side / 1000);
}

}  // namespace

void drawProductMark(HDC dc, const RECT& box) {
    const int side = std::min(width(box), height(box));
    if (side <= 0) return;
    const int left = box.left + (width(box) - side) / 2;
    const int top = box.top + (height(box) - side) / 2;
    const int pen = std::max(1, side / 28);

    constexpr std::array<Fraction, 8> shield{{{500, 20},
                                              {900, 160},
                                              {880, 520},
                                              {780, 740},
                                              {500, 980},
                                              {220, 740},
                                              {120, 520},
                                              {100, 160}}};
    fillPolygon(dc, left, top, side, shield, kPale, kNavy, pen);

    // The eraser lies across the shield: its rubber end low on the left, its sleeve above.
    constexpr std::array<Fraction, 4> rubber{{{260, 580}, {380, 460}, {600, 680}, {480, 800}}};
    constexpr std::array<Fraction, 4> sleeve{{{380, 460}, {560, 280}, {780, 500}, {600, 680}}};
    fillPolygon(dc, left, top, side, rubber, kCoral, kNavy, pen);
    fillPolygon(dc, left, top, side, sleeve, kSleeve, kNavy, pen);

    drawLine(dc, left, top, side, {180, 700}, {300, 700}, kDust, pen);
    drawLine(dc, left, top, side, {250, 780}, {380, 780}, kDust, pen);
}

namespace {

// The blue band with the product mark, the name and the tagline, and a coral rule below it
// (inside the band's bottom edge, or just under it when the band does not fill its window).
// Heights of the tagline and of the gap under the name are fractions of the band's height.
void drawBand(HDC dc, const RECT& band, int taglineDivisor, int gapDivisor, const RECT& accent) {
    const BandColors colors = bandColors();
    fillGradient(dc, band, colors.from, colors.to, false);
    const int h = height(band);
    const int margin = h / 8;
    const RECT mark{band.left + margin, band.top + margin, band.left + h - margin,
                    band.bottom - margin};
    drawProductMark(dc, mark);

    const UniqueGdiObject nameFont = createArtFont(h * 2 / 5, FW_BOLD);
    const UniqueGdiObject taglineFont = createArtFont(h / taglineDivisor, FW_NORMAL);
    const int textLeft = mark.right + margin;
    const SIZE name = textSize(dc, nameFont, kProductName);
    const int nameTop = band.top + (h - name.cy - h / gapDivisor) / 2;
    drawText(dc, nameFont, textLeft, nameTop, colors.name, kProductName);
    drawText(dc, taglineFont, textLeft + margin / 4, nameTop + name.cy, colors.tagline, kTagline);
    fillSolid(dc, accent, colors.accent);
}

}  // namespace

void drawBanner(HDC dc, const RECT& area) {
    RECT accent = area;
    accent.top = area.bottom - std::max(2, height(area) / 30);
    drawBand(dc, area, 6, 5, accent);
}

void drawSplashArt(HDC dc, const RECT& area, int bandHeight) {
    fillSolid(dc, area, RGB(255, 255, 255));
    RECT band = area;
    band.bottom = area.top + bandHeight;
    RECT accent = band;
    accent.top = band.bottom;
    accent.bottom = band.bottom + std::max(2, bandHeight / 40);
    drawBand(dc, band, 10, 8, accent);
}

void drawAboutArt(HDC dc, const RECT& area) {
    const BandColors colors = bandColors();
    fillGradient(dc, area, colors.from, colors.to, true);
    const int w = width(area);
    const int margin = w / 8;
    const RECT mark{area.left + margin, area.top + margin, area.right - margin,
                    area.top + w - margin};
    drawProductMark(dc, mark);

    // The name runs upwards along the lower part of the panel.
    const UniqueGdiObject nameFont = createArtFont(w * 2 / 5, FW_BOLD, 900);
    const SIZE name = textSize(dc, nameFont, kProductName);
    const int x = area.left + (w - name.cy) / 2;
    const int y = area.bottom - margin;
    drawText(dc, nameFont, x, y, colors.name, kProductName);
}

}  // namespace purgeon::win32
