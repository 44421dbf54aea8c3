// The main window's controls: what each one is, its text, and where it goes, in twips.
#pragma once

#include <span>

#include "app/win32/view_support.h"

namespace purgeon::win32 {

enum class ControlKind {
    Label,
    Picture,
    Rule,
    Button,
    Check,
    Option,
    Frame,
    Edit,
    ReadOnlyEdit,
    ListBox,
    ListView,
    Tabs,
    StatusBar,
};

inline constexpr int kNoTab = -1;

// The main window's client area at its smallest, which is also its first size, in twips.
inline constexpr int kMainClientWidth = 8160;
inline constexpr int kMainClientHeight = 7215;

// How a control follows the window as it grows beyond its smallest size: the share (in percent)
// of the extra width or height by which each of its edges moves. Left and top at 0 and right and
// bottom at 100 stretch the control with the window; all four at 100 keep it at the bottom right.
struct Anchors {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr Anchors kStay{};
inline constexpr Anchors kFill{0, 0, 100, 100};
inline constexpr Anchors kFillWidth{0, 0, 100, 0};
inline constexpr Anchors kRight{100, 0, 100, 0};
inline constexpr Anchors kBottom{0, 100, 0, 100};
inline constexpr Anchors kBottomRight{100, 100, 100, 100};
inline constexpr Anchors kBottomFillWidth{0, 100, 100, 100};

// One control. A tab's controls are placed relative to the tab control; they are children of the
// tab's page, a window over the tab control's body. The others are children of the window.
struct ControlPlace {
    Ctl control;
    int tab;  // kNoTab: not on a tab page
    ControlKind kind;
    const wchar_t* text;
    TwipsRect rect;  // at the window's smallest size
    Anchors grow = kStay;
    // What a screen reader calls a control that has no text of its own; nullptr: its text.
    const wchar_t* accessibleName = nullptr;
};

// Every control, in creation order, which is also the keyboard order.
std::span<const ControlPlace> mainWindowControls();
// nullptr for a control that is not on the main window.
const ControlPlace* findPlace(Ctl control);
// Throws for a control that is not on the main window.
const ControlPlace& placeOf(Ctl control);

// The control's place in pixels, grown by the window's extra width and height (in pixels) as its
// anchors say; the rectangle given is its place at the smallest size.
RECT anchoredRect(const RECT& smallest, const Anchors& grow, int extraWidth, int extraHeight);

// The window class and styles of a control.
ControlClass controlClassOf(const ControlPlace& place);
// Controls that paint their own background with the colour their parent hands them.
bool showsPageBackground(ControlKind kind);

extern const wchar_t* const kTabCaptions[kTabCount];

}  // namespace purgeon::win32
