// The main window's "Clean &Now": the areas ticked for the automatic runs, after a question
// that lists what each would remove, with a summary of what went.
#include "app/main_window.h"

#include "app/busy_scope.h"
#include "app/clean_summary.h"
#include "app/program.h"
#include "product/product.h"
#include "wipe/wipe_report.h"

namespace purgeon {

void FrmMain::cmdCleanNow_Click() {
    if (m_program.operationRunning()) return;
    const StatusLabel status = [this](const std::wstring& text) { setStatusText(text); };
    Dialogs& dialogs = m_program.services().dialogs;
    CleanReport preview;
    {
        BusyScope busy(*this, L"Counting what Clean Now removes...");
        preview = m_program.runTicked(CleanMode::preview, status, m_options);
    }
    if (preview.entries.empty()) {
        dialogs.messageBox(
            L"Nothing is ticked for cleaning. Tick the areas Clean Now cleans on "
            L"the General tab: cookies, cache, history, the Recycle Bin, the "
            L"temporary files.",
            kAppTitle, kMbOk | kMbIconInformation);
        return;
    }
    if (dialogs.messageBox(cleanNowQuestion(preview), kAppTitle,
                           kMbYesNo | kMbIconQuestion | kMbDefButton2) != kIdYes)
        return;

    m_program.log().write(L"Clean Now.");
    CleanReport report;
    {
        BusyScope busy(*this);
        report = m_program.runTicked(CleanMode::clean, status, m_options);
        setStatusText(L"");
    }
    // Stopped because the window is to close or the program to end: the log has what went.
    if (m_program.mainWindow() != this) return;
    const std::wstring summary = cleanSummary(report, preview);
    m_program.log().write(L"Clean Now: freed " + sizeText(freedBytes(report, preview)) + L".");
    dialogs.messageBox(summary, kAppTitle,
                       kMbOk | (report.done() ? kMbIconInformation : kMbIconExclamation));
}

}  // namespace purgeon
