// The product artwork drawn with GDI: the main window's banner, the splash and the About panel.
#pragma once

#include "platform/win32/handles.h"

namespace purgeon::win32 {

// The shield-and-eraser mark, fitted into the square centred in the box.
void drawProductMark(HDC dc, const RECT& box);

// The main window's banner: a band with the mark, the product name and a tagline.
void drawBanner(HDC dc, const RECT& area);

// The splash picture: a band across the top above the given height, white below it.
void drawSplashArt(HDC dc, const RECT& area, int bandHeight);

// The tall About picture: the mark at the top and the product name running upwards.
void drawAboutArt(HDC dc, const RECT& area);

}  // namespace purgeon::win32
