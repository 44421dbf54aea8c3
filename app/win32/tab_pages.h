// The pages of the main window's tab control: one window per tab over the tab control's body,
// painted with a picture of the tab control's own background, so that what lies on a page blends
// with it whatever the visual style.
#pragma once

#include <array>

#include "app/controls.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class TabPages {
public:
    static void registerClass(HINSTANCE instance);

    TabPages() = default;
    TabPages(const TabPages&) = delete;
    TabPages& operator=(const TabPages&) = delete;

    // Creates the pages, hidden, as children of the window. Their controls' messages go to it.
    void create(HINSTANCE instance, HWND window);
    // The window is gone, and the pages with it.
    void forget();

    HWND page(int tab) const { return m_pages[static_cast<std::size_t>(tab)]; }
    bool isPage(HWND window) const;
    // How far the pages lie below the tab control's top: the height of its row of tabs.
    int top() const { return m_top; }

    // Puts the pages over the tab control's body, which lies at this place in the window.
    void place(HWND tabs, const RECT& tabArea);
    // Shows one page (none for an index out of range) and hides the others.
    void show(int index);
    // Takes the picture of the tab control's background again and repaints the pages: after a
    // change of tab, size, visual style or colours.
    void captureBackground(HWND tabs);
    // The brush a control on a page paints its background with, aligned for the control's device
    // context; nullptr before the first picture.
    HBRUSH backgroundFor(HWND control, HDC dc, HWND tabs) const;

private:
    static LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    void alignPattern(HDC dc, POINT tabOrigin) const;
    void paint(HWND page, HDC dc) const;

    std::array<HWND, kTabCount> m_pages{};
    int m_top = 0;
    UniqueGdiObject m_bitmap;
    UniqueGdiObject m_brush;
};

}  // namespace purgeon::win32
