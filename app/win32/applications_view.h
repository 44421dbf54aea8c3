// The Applications tab's controls: the detected entries with their ticks, the rule file's text
// with "Get rules...", and the automatic box.
#pragma once

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/win32/list_controls.h"
#include "platform/win32/handles.h"

#include <commctrl.h>

namespace purgeon::win32 {

// A tick the user asked for, handed on from the list's notification through a posted message:
// the Warning's box is not shown inside the list's own click. The list's tick changes only when
// the behaviour shows it.
inline constexpr UINT kMsgAppTicked = WM_APP + 5;

class ApplicationsListView : public ApplicationsView {
public:
    explicit ApplicationsListView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    ApplicationsListView(const ApplicationsListView&) = delete;
    ApplicationsListView& operator=(const ApplicationsListView&) = delete;

    // Takes on the tab's list (columns at this DPI), rule file text, "Get rules..." and box.
    void attach(HWND list, HWND ruleText, HWND getRules, HWND automatic, UINT dpi);
    // The controls are gone with their window.
    void detach();
    void rescaleColumns(UINT previousDpi, UINT dpi);
    // Its widest columns take what the list's width changes by.
    void followWidth(UINT dpi) { followListWidth(m_list, m_width, dpi); }
    const ListWidth& followedWidth() const { return m_width; }

    void showRows(const std::vector<AppRow>& rows) override;
    void showTick(std::size_t row, bool ticked) override;
    void showRuleFile(const std::wstring& text, bool offerRules) override;
    void showAutomatic(bool ticked) override;

    // True for a notification of the list, result its answer: a tick the user asks for is
    // refused to the list and posted to the window as kMsgAppTicked.
    bool onNotify(const NMHDR& header, LRESULT& result);
    // The posted tick: handed to the behaviour unless the rows changed meanwhile.
    void ticked(WPARAM wParam, LPARAM lParam);
    // The buttons and the box.
    void previewClicked();
    void cleanClicked();
    void getRulesClicked();
    void automaticClicked();

private:
    int selectedRow() const;

    FrmMain& m_behaviour;
    HWND m_list = nullptr;
    ListWidth m_width{{0}};
    HWND m_ruleText = nullptr;
    HWND m_getRules = nullptr;
    HWND m_automatic = nullptr;
    std::vector<std::wstring> m_names;  // the rows' entries, as shown
    unsigned m_generation = 0;          // counts the fillings of the list
    bool m_filling = false;             // set while the view itself fills the list
};

}  // namespace purgeon::win32
