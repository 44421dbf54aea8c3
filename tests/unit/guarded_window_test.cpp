// The main window keeps the user's choices and refuses folders that are not its to empty: the
// activation rule, refusals told in a box after a click and in the log otherwise, the log itself.
#include <gtest/gtest.h>

#include "clean/run_log.h"
#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;
using fakes::ShownBox;

TEST(Activation, OnlyShowingOrComingFromOwnWindowsReloadsTheStoredOptions) {
    struct Case {
        ActivationSource source;
        bool reloads;
    };
    for (const Case& c :
         {Case{ActivationSource::shown, true}, Case{ActivationSource::ownWindow, true},
          Case{ActivationSource::ownBox, false}, Case{ActivationSource::otherProgram, false}}) {
        ProgramRig rig;
        rig.settings.put(L"autoemptyrecyclebin", L"1");
        rig.settings.put(L"shredlevel", L"True");
        FrmMain& main = rig.loadMain();
        main.activated(ActivationSource::shown);
        // The user picks seven passes and unticks "Empty Recycle Bin", then a box closes or they
        // come back from another program.
        main.setValue(Ctl::optDOD, 1);
        main.setValue(Ctl::optQuick, 0);
        main.setValue(Ctl::chkEmptyRecycleBin, 0);
        main.activated(c.source);
        EXPECT_EQ(main.value(Ctl::optDOD), c.reloads ? 0 : 1);
        EXPECT_EQ(main.value(Ctl::chkEmptyRecycleBin), c.reloads ? 1 : 0);
        EXPECT_EQ(rig.shell.recycleBinEmptied, c.reloads ? 2 : 1);
    }
}

TEST(TempGuard, ARefusedFolderIsToldInABoxAfterAClickAndOnlyLoggedWhenLoading) {
    for (bool click : {true, false}) {
        ProgramRig rig;
        rig.folders.temp = L"C:\\Users\\me\\Documents\\";
        rig.files.addFile(rig.folders.temp, L"thesis.doc", kAttrArchive, {1, 2, 3});
        FrmMain& main = rig.loadMain();
        if (click) {
            main.setValue(Ctl::chkdeltempfiles, 1);
        } else {
            rig.settings.put(L"autocleartemp", L"1");
            main.loadUserPrefs();
        }
        const std::wstring why =
            L"C:\\Users\\me\\Documents was not cleared: it is the Documents folder.";
        const std::vector<ShownBox> told{{L"The temporary folder " + why, L" Purgeon", 48}};
        EXPECT_EQ(rig.dialogs.shown, click ? told : std::vector<ShownBox>());
        EXPECT_TRUE(rig.logFile.contains(L"Temporary files: " + why));
        EXPECT_EQ(rig.files.files.at(rig.folders.temp + L"thesis.doc").content,
                  (std::vector<unsigned char>{1, 2, 3}));
        EXPECT_TRUE(rig.files.passEnds.empty());
    }
}

TEST(CookieGuard, ACookieFolderThatIsANamedFolderKeepsItsFiles) {
    for (bool interactive : {true, false}) {
        ProgramRig rig;
        const std::wstring documents = L"C:\\Users\\me\\Documents";
        rig.registry.values[{kShellFoldersKey, L"Cookies"}] =
            fakes::FakeRegistry::stringValue(documents);
        rig.files.addFile(documents + L"\\", L"thesis.doc");
        FrmMain& main = rig.loadMain();
        main.loadCookiesList();
        main.cmdselectallcookies_Click();
        rig.dialogs.answers = {kIdYes};
        main.deletecookies(interactive);
        const std::wstring text =
            L"The cookie folder C:\\Users\\me\\Documents was not cleaned: it is the Documents "
            L"folder.";
        if (interactive) {
            // The summary says why the folder kept its files.
            EXPECT_EQ(rig.dialogs.shown.back(),
                      (ShownBox{L"Cleaned\r\n\r\nCookies: not cleaned: the folder "
                                L"C:\\Users\\me\\Documents was refused: it is the Documents "
                                L"folder",
                                L" Purgeon", 48}));
        } else {
            EXPECT_TRUE(rig.dialogs.shown.empty());
        }
        EXPECT_TRUE(rig.logFile.contains(text));
        EXPECT_TRUE(rig.files.files.count(documents + L"\\thesis.doc"));
    }
}

TEST(RunLog, EachLineIsDatedInUtcAndTheRunsSayWhatTheyDid) {
    using namespace std::chrono;
    EXPECT_EQ(utcText(sys_days{year{2026} / 12 / 7} + hours{23} + minutes{9} + seconds{4}),
              L"2026-12-07 23:09:04 UTC");

    ProgramRig rig;
    rig.shell.recycleBinError = 5;
    rig.program.Main();
    rig.clean(kRecycleBinArea);
    EXPECT_TRUE(rig.logFile.contains(L"Purgeon 1.0.0 started."));
    EXPECT_TRUE(rig.logFile.contains(L"Recycle Bin: not emptied: system text 5"));
}

TEST(RunLog, ViewLogOpensTheLogFile) {
    ProgramRig rig;
    rig.loadMain().cmdViewLog_Click();
    EXPECT_EQ(rig.shell.opened, std::vector<std::wstring>{rig.logFile.path()});
}

}  // namespace
}  // namespace purgeon
