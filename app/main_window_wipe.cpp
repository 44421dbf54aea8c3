// The main window's Secure Wipe tab: the pickers, the warning, the wipe of what it names and the
// wipe of a volume's free space.
#include "app/main_window.h"

#include "app/busy_scope.h"
#include "app/clean_summary.h"
#include "app/program.h"
#include "clean/failure_text.h"
#include "clean/path_wipe.h"
#include "product/product.h"
#include "wipe/folder_guard.h"
#include "wipe/free_space.h"
#include "wipe/free_space_report.h"
#include "wipe/shred.h"
#include "wipe/shred_batch.h"
#include "wipe/wipe_report.h"
#include "wipe/wipe_target.h"

namespace purgeon {

void FrmMain::cmdBrowseForFile_Click() {
    m_program.services().pickers.openFile(L"All Files (*.*)|*.*", m_openFileName);
    if (!m_openFileName.empty()) setText(Ctl::txtFileToWipe, m_openFileName);
}

void FrmMain::cmdBrowseForFolder_Click() {
    Services& s = m_program.services();
    setText(Ctl::txtFolderToWipe,
            s.pickers.browseForFolder(s.appInfo.folder(), L"&Select folder to wipe"));
}

void FrmMain::filesDropped(const std::vector<std::wstring>& paths) {
    if (m_tab != kTabSecureWipe) return;
    FileSystem& files = m_program.services().files;
    bool folderFilled = false;
    bool fileFilled = false;
    for (const std::wstring& path : paths) {
        std::wstring final;
        const bool folder = static_cast<bool>(files.resolveFolder(path, final));
        if (folder && !folderFilled) {
            setText(Ctl::txtFolderToWipe, path);
            folderFilled = true;
        } else if (!folder && !fileFilled) {
            setText(Ctl::txtFileToWipe, path);
            fileFilled = true;
        }
    }
}

FolderCheck FrmMain::checkWipeFolder(const std::wstring& folder) {
    Services& s = m_program.services();
    const FolderCheck check = checkFolder(s.files, s.folders, folder, FolderUse::wipe);
    if (!check.allowed()) {
        tell(check.folder + L" cannot be wiped: " + refusalReason(check) + L".",
             kMbOk | kMbIconExclamation);
    }
    return check;
}

void FrmMain::cmdWipe_Click() {
    const std::wstring warning = wipeWarning();
    if (warning.empty()) return;
    const int answer = m_program.services().dialogs.messageBox(warning, kAppTitle,
                                                               kMbOkCancel | kMbIconExclamation);
    if (answer == kIdOk) wipeOut();
}

std::wstring FrmMain::wipeWarning() {
    Services& s = m_program.services();
    std::wstring details;
    const std::wstring file = text(Ctl::txtFileToWipe);
    // A file that cannot be measured is left out here; the wipe itself tells the user why.
    std::uint64_t fileBytes = 0;
    if (!file.empty() && s.files.fileSize(file, fileBytes) && fileBytes > 0)
        details += L"\r\nFile: " + file + L" (" + sizeText(fileBytes) + L")";

    const std::wstring folder = text(Ctl::txtFolderToWipe);
    if (!folder.empty()) {
        const FolderCheck check = checkWipeFolder(folder);
        if (!check.allowed()) return {};
        // Counted before asking, so the user knows what the answer means. Folders that cannot be
        // listed are listed again by the wipe, which writes them down.
        FoundFileList found;
        std::uint64_t bytes = 0;
        static_cast<void>(EnumFiles(s.files, check.folder, found, &bytes));
        details += L"\r\nFolder: " + check.folder + L": " + std::to_wstring(found.size() - 1) +
                   L" file(s), " + sizeText(bytes);
    }
    return details.empty() ? std::wstring(kWipeWarning)
                           : std::wstring(kWipeWarning) + L"\r\n" + details;
}

void FrmMain::wipeOut() {
    const WipeMethod method = chosenWipeMethod(value(Ctl::optQuick) != 0);
    if (wipeNamedFile(method)) wipeNamedFolder(method);
}

bool FrmMain::wipeNamedFile(WipeMethod method) {
    Services& s = m_program.services();
    const std::wstring file = text(Ctl::txtFileToWipe);
    if (file.empty() || !FileExists(s.files, s.errors, s.dialogs, file)) return true;

    ShredResult result;
    const bool stay = [&] {
        BusyScope busy(*this);
        return wipeFileOperation(m_program, s.files, file, method, result);
    }();
    const std::wstring why =
        result.status.ok() ? std::wstring() : s.errors.text(result.status.code);
    const bool wiped = result.outcome == ShredOutcome::wiped;
    // The log never names the file, wiped or not: the counts and the reason only.
    WipeTally tally;
    tally.add(result.outcome);
    std::wstring line = L"Wipe of a chosen file: " + wipeCountsText(tally);
    if (!result.status.ok()) line += L": " + systemWords(s.errors, result.status);
    m_program.log().write(line.ends_with(L'.') ? line : line + L".");
    if (!stay) return false;
    m_program.services().dialogs.messageBox(
        fileWipeMessage(fileNameOf(file), result, why), kAppTitle,
        kMbOk | (wiped ? kMbIconInformation : kMbIconExclamation));
    // A wipe the user stopped goes no further.
    return result.outcome != ShredOutcome::interrupted &&
           result.outcome != ShredOutcome::notReached;
}

void FrmMain::wipeNamedFolder(WipeMethod method) {
    Services& s = m_program.services();
    const std::wstring folder = text(Ctl::txtFolderToWipe);
    if (folder.empty()) return;
    const FolderCheck check = checkWipeFolder(folder);
    if (!check.allowed()) return;
    FolderWipe wiped;
    bool stay = true;
    {
        BusyScope busy(*this);
        std::wstring shown;
        FolderWipeJob job;
        job.method = method;
        job.threads = m_program.state().filesInFlight;
        job.view = [&](const OperationProgress& progress) {
            if (progress.current.empty() || progress.current == shown) return;
            shown = progress.current;
            setStatusText(L"Currently wiping" + shown);
        };
        stay = wipeFolderOperation(m_program, s.files, m_program.state().foundFiles, check.folder,
                                   job, wiped);
        if (!shown.empty()) setStatusText(L"");
    }
    const BatchResult& result = wiped.result;
    const std::wstring message = folderWipeSummary(result.tally, result.bytesWiped);
    m_program.log().write(L"Wipe of a chosen folder:");
    m_program.logUnlisted(L"Wipe of a chosen folder", wiped.unlisted);
    if (!wiped.refilled)
        m_program.log().write(
            L"Wipe of a chosen folder: a folder's index could not be refilled, "
            L"so wiped names may stay on the disk: " +
            systemWords(s.errors, wiped.refilled));
    if (!stay) {
        m_program.log().write(message);
        return;
    }
    tell(message, kMbOk | (result.tally.notWiped() == 0 ? kMbIconInformation : kMbIconExclamation));
}

void FrmMain::cmdWipeFreeSpace_Click() {
    Services& s = m_program.services();
    // The folder field names the volume; without it, the user picks a folder or a drive.
    std::wstring folder = text(Ctl::txtFolderToWipe);
    if (folder.empty()) {
        folder = s.pickers.browseForFolder(s.appInfo.folder(),
                                           L"Select a folder or drive whose free space to wipe");
        if (folder.empty()) return;
    }
    const FreeSpaceTarget target = findFreeSpaceTarget(s.files, s.volumes, folder);
    if (!target.allowed()) {
        tell(freeSpaceRefusal(target), kMbOk | kMbIconExclamation);
        return;
    }
    VolumeSpace space;
    static_cast<void>(s.volumes.space(target.root, space));  // for the question only
    if (s.dialogs.messageBox(freeSpaceQuestion(target.root, space.freeBytes), kAppTitle,
                             kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    FreeSpaceResult result;
    bool stay = true;
    {
        BusyScope busy(*this, L"Wiping the free space of " + target.root);
        stay = m_program.wipeFreeSpace(target.root, result);
    }
    if (!stay) return;  // the log has what came of it
    const bool complete = result.outcome == FillOutcome::filled && result.notRemoved == 0;
    const std::wstring why =
        result.status.ok() ? std::wstring() : s.errors.text(result.status.code);
    tell(freeSpaceMessage(target.root, result, why),
         kMbOk | (complete ? kMbIconInformation : kMbIconExclamation));
}

}  // namespace purgeon
