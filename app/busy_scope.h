// The status text and hourglass of the main window, shown for as long as an operation runs.
#pragma once

#include <optional>
#include <string>

#include "app/main_window.h"

namespace purgeon {

// Shows an operation for as long as it runs: its status text, when it has one, and the hourglass,
// unless its steps show that themselves. Both are put back in the reverse order.
class BusyScope {
public:
    explicit BusyScope(FrmMain& window, std::optional<std::wstring> status = std::nullopt,
                       bool hourglass = true)
        : m_window(window), m_status(status.has_value()), m_hourglass(hourglass) {
        if (m_status) m_window.setStatusText(*status);
        if (m_hourglass) m_window.setBusy(true);
    }
    ~BusyScope() {
        if (m_hourglass) m_window.setBusy(false);
        if (m_status) m_window.setStatusText(L"");
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    FrmMain& m_window;
    bool m_status;
    bool m_hourglass;
};

}  // namespace purgeon
