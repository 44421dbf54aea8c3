// Long work through the window: progress where the user looks, controls held while it runs,
// Cancel, and Exit or closing the window while it runs.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;
using fakes::ShownBox;

struct FolderRig : ProgramRig {
    FolderRig() {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            files.addFile(L"D:\\x\\", name, kAttrArchive, std::vector<unsigned char>(3000, 7));
        program.Main();
        FrmMain& main = program.loadMainWindow();
        main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
        dialogs.answers = {kIdOk};
    }
    FrmMain& main() { return *program.mainWindow(); }
};

const std::wstring kStopQuestion = L"Purgeon is still at work. Stop it now and end Purgeon?";

TEST(OperationWindow, ProgressShowsOnTheWindowAndTheTrayAndTheControlsAreHeldMeanwhile) {
    FolderRig rig;  // no level stored: seven passes over 3 files of 3,000 bytes
    rig.main().cmdWipe_Click();
    EXPECT_EQ(rig.mainView().operationStates, (std::vector<bool>{true, false}));
    ASSERT_FALSE(rig.mainView().progress.empty());
    EXPECT_EQ(rig.mainView().progress.back().first, 100);
    const std::wstring& text = rig.mainView().progress.back().second;
    // The bytes of the files, not of the seven passes over them.
    EXPECT_EQ(text.rfind(L"3/3 files, 8.8 KB/8.8 KB", 0), 0u)
        << std::string(text.begin(), text.end());
    const std::vector<std::wstring>& tips = rig.windows.lastTrayView->tips;
    ASSERT_GE(tips.size(), 2u);
    EXPECT_EQ(tips.front().rfind(L" Purgeon: wiping files, ", 0), 0u);
    EXPECT_EQ(tips.back(), L" Purgeon");  // back to the title once done
}

TEST(OperationWindow, CancelStopsTheWipeAndTheMessageSaysWhatWasNotWiped) {
    FolderRig rig;
    rig.windows.duringOperation = [&] { rig.main().cmdCancel_Click(); };
    rig.main().cmdWipe_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1],
              (ShownBox{L"0 files wiped, 0 bytes\r\n3 files not wiped: 3 not reached before the "
                        L"wipe was stopped.",
                        L" Purgeon", 48}));
    EXPECT_EQ(rig.files.files.size(), 3u);
    EXPECT_TRUE(rig.logFile.contains(L"Stopped by the user."));
}

TEST(OperationWindow, ExitWhileItRunsAsksThenStopsItAndEnds) {
    for (int answer : {kIdOk, kIdCancel}) {
        FolderRig rig;
        rig.windows.duringOperation = [&] {
            rig.dialogs.answers = {answer};
            rig.windows.lastTray->mnuexit_Click();
        };
        rig.main().cmdWipe_Click();
        EXPECT_EQ(rig.dialogs.shown[1], (ShownBox{kStopQuestion, L" Purgeon", 33}));
        if (answer == kIdOk) {
            EXPECT_NE(std::find(rig.log.begin(), rig.log.end(), L"end"), rig.log.end());
            EXPECT_EQ(rig.dialogs.shown.size(), 2u);  // no wipe message after the end
            EXPECT_EQ(rig.files.files.size(), 3u);
        } else {
            EXPECT_TRUE(rig.files.files.empty());  // the wipe went on to its end
            EXPECT_TRUE(rig.program.trayLoaded());
        }
    }
}

TEST(OperationWindow, ClosingTheWindowWhileItRunsStopsItFirst) {
    FolderRig rig;
    rig.windows.duringOperation = [&] {
        rig.dialogs.answers = {kIdOk};
        rig.program.unloadMainWindow();
        EXPECT_NE(rig.program.mainWindow(), nullptr);  // not while the work holds its lists
    };
    rig.main().cmdWipe_Click();
    EXPECT_EQ(rig.program.mainWindow(), nullptr);
    EXPECT_EQ(rig.files.files.size(), 3u);
    EXPECT_TRUE(rig.program.trayLoaded());
}

}  // namespace
}  // namespace purgeon
