// The main window's layout table: each tab's keyboard shortcuts are unique, and as the window
// grows its controls stay inside the tab control and clear of each other; the lists' columns
// take what the window's width changes by and give it back.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "app/win32/list_controls.h"
#include "app/win32/main_window_layout.h"

namespace purgeon::win32 {
namespace {

bool takesShortcut(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::Check || kind == ControlKind::Option;
}

// The letter after the "&" of a text; none when it has no shortcut.
wchar_t shortcutOf(const wchar_t* text) {
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'&' && c[1] != L'\0' && c[1] != L'&')
            return static_cast<wchar_t>(std::towlower(c[1]));
    }
    return L'\0';
}

std::string name(const ControlPlace& place) {
    return std::to_string(static_cast<int>(place.control));
}

TEST(MainWindowLayout, EveryButtonAndBoxHasAShortcutOfItsOwnOnItsTab) {
    for (int tab = 0; tab < kTabCount; ++tab) {
        std::map<wchar_t, std::string> taken;
        for (const ControlPlace& place : mainWindowControls()) {
            if (!takesShortcut(place.kind) || (place.tab != tab && place.tab != kNoTab)) continue;
            const wchar_t key = shortcutOf(place.text);
            EXPECT_NE(key, L'\0') << "control " << name(place) << " has no shortcut";
            if (key == L'\0') continue;
            const auto [where, added] = taken.emplace(key, name(place));
            EXPECT_TRUE(added) << "tab " << tab << ": controls " << where->second << " and "
                               << name(place) << " share a shortcut";
        }
    }
}

bool overlap(const RECT& a, const RECT& b) {
    RECT shared{};
    return ::IntersectRect(&shared, &a, &b) != FALSE;
}

TEST(MainWindowLayout, AsTheWindowGrowsItsControlsStayInsideTheTabsAndApart) {
    const TwipsScale scale(96);
    for (const SIZE extra : {SIZE{0, 0}, SIZE{400, 300}, SIZE{1500, 900}, SIZE{0, 900}}) {
        const ControlPlace& tabsPlace = placeOf(Ctl::SSTab1);
        const RECT tabs =
            anchoredRect(scale.rect(tabsPlace.rect), tabsPlace.grow, extra.cx, extra.cy);
        std::vector<std::pair<const ControlPlace*, RECT>> placed;
        for (const ControlPlace& place : mainWindowControls()) {
            if (place.tab == kNoTab) continue;
            const RECT r = anchoredRect(scale.rect(place.rect), place.grow, extra.cx, extra.cy);
            // A tab's controls are placed from the tab control's corner.
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= tabs.right - tabs.left &&
                        r.bottom <= tabs.bottom - tabs.top)
                << "control " << name(place) << " leaves the tabs at " << extra.cx << "x"
                << extra.cy;
            // Frames hold other controls; the About page's rule starts under the art's edge.
            if (place.kind != ControlKind::Frame && place.kind != ControlKind::Rule)
                placed.emplace_back(&place, r);
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                if (placed[i].first->tab != placed[j].first->tab) continue;
                EXPECT_FALSE(overlap(placed[i].second, placed[j].second))
                    << "controls " << name(*placed[i].first) << " and " << name(*placed[j].first)
                    << " overlap at " << extra.cx << "x" << extra.cy;
            }
        }
    }
}

TEST(ListColumns, TakeWhatTheWidthChangesByAndGiveItBack) {
    struct Case {
        std::vector<int> columns;
        int change;
        UINT dpi;
        std::vector<int> expected;
    };
    const std::vector<int> widths{100, 80, 60, 40};
    const std::vector<Case> cases = {
        {{0, 1}, 101, 96, {150, 131, 60, 40}},  // shared, the last taking the odd pixel
        {{0}, 300, 96, {400, 80, 60, 40}},      // one column takes it all
        {{0, 1}, -100, 96, {50, 40, 60, 40}},   // narrower
        {{0, 1}, -500, 96, {40, 40, 60, 40}},   // never below the least width
        {{0, 1}, -500, 192, {80, 80, 60, 40}},  // which scales with the DPI
        {{0, 7}, 50, 96, {125, 80, 60, 40}},    // a column the list lacks takes nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(widthsAfterChange(widths, c.columns, c.change, c.dpi), c.expected)
            << "change " << c.change << " at " << c.dpi << " DPI";
    // What a maximised window's lists took comes off again as the window's widths are kept.
    const std::vector<int> grown = widthsAfterChange(widths, {0, 1}, 333, 96);
    EXPECT_EQ(widthsAfterChange(grown, {0, 1}, -333, 96), widths);
}

}  // namespace
}  // namespace purgeon::win32
