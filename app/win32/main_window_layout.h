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

// One control. A tab's controls are placed relative to the tab control; they are children of the
// tab's page, a window over the tab control's body. The others are children of the window.
struct ControlPlace {
    Ctl control;
    int tab;  // kNoTab: not on a tab page
    ControlKind kind;
    const wchar_t* text;
    TwipsRect rect;
};

// Every control, in creation order, which is also the keyboard order.
std::span<const ControlPlace> mainWindowControls();
// nullptr for a control that is not on the main window.
const ControlPlace* findPlace(Ctl control);
// Throws for a control that is not on the main window.
const ControlPlace& placeOf(Ctl control);

// The window class and styles of a control.
ControlClass controlClassOf(const ControlPlace& place);
// Controls that paint their own background with the colour their parent hands them.
bool showsPageBackground(ControlKind kind);

extern const wchar_t* const kTabCaptions[kTabCount];

}  // namespace purgeon::win32
