// The General tab's browser profiles (a list with ticks) and the Cookies tab's keep list.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "platform/win32/handles.h"

#include <commctrl.h>

namespace purgeon::win32 {

class BrowserListsView {
public:
    explicit BrowserListsView(FrmMain& behaviour) : m_behaviour(behaviour) {}
    BrowserListsView(const BrowserListsView&) = delete;
    BrowserListsView& operator=(const BrowserListsView&) = delete;

    void attach(HWND browsers, HWND keepList, UINT dpi);
    void showChoices(const std::vector<std::pair<std::wstring, bool>>& choices);
    void showKeepList(const std::vector<std::wstring>& sites);
    // The user chose a site of the keep list.
    void keepListChanged();
    // True for a notification of the browsers list; a changed tick goes to the behaviour.
    bool onNotify(const NMHDR& header);

private:
    FrmMain& m_behaviour;
    HWND m_browsers = nullptr;
    HWND m_keepList = nullptr;
    bool m_filling = false;  // set while the view itself fills the list
};

}  // namespace purgeon::win32
