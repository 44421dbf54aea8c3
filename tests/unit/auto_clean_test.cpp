// The automatic run, the tray icon's reactions and the exit sequence.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::Log;
using fakes::ProgramRig;

// A program started with the given stored options, its start-up sequence done.
struct RunRig : ProgramRig {
    explicit RunRig(std::initializer_list<const wchar_t*> ticked) {
        for (const wchar_t* key : ticked) settings.put(key, L"1");
        urlCache.entries = {{L"http://a.example/", kNormalCacheEntry},
                            {L"Cookie:me@a.example/", kNormalCacheEntry}};
        files.addFile(cookieFolder + L"\\", L"me@a.txt");
        files.addFile(folders.temp, L"t.tmp", kAttrArchive, {1});
        history.shared->entries = {{L"http://a.example/", true, L"A", 0, 0}};
        shell.log = &log;
    }
    void start() {
        program.Main();
        windows.activateSplash();
    }
    std::vector<std::wstring> labels(const std::wstring& prefix) const {
        std::vector<std::wstring> result;
        for (const std::wstring& line : log)
            if (line.rfind(prefix, 0) == 0) result.push_back(line.substr(prefix.size()));
        return result;
    }
    std::vector<std::wstring> splashActions() const {
        return labels(L"splash.text " + fakes::ctlName(Ctl::lblaction) + L"=");
    }
};

// The lists are listed when their tabs are opened, not at start-up.
const std::vector<std::wstring> kLoading = {L"Loading preferences..."};

TEST(AutoClean, AllFiveStepsRunInOrderWithTheirTextsAndTheLastStays) {
    RunRig rig({L"runonstart", L"autodelcache", L"autodelcookies", L"autodelhistory"});
    rig.start();
    // The two boxes with immediate actions are ticked afterwards, as a user would.
    FrmMain& main = *rig.program.mainWindow();
    // The run at start cleared the history; a page visited since shows on its tab.
    rig.history.shared->entries = {{L"http://b.example/", true, L"B", 0, 0}};
    main.selectTab(kTabHistory);
    main.setValue(Ctl::chkEmptyRecycleBin, 1);
    main.setValue(Ctl::chkdeltempfiles, 1);
    rig.files.addFile(rig.folders.temp, L"u.tmp", kAttrArchive, {1});
    rig.log.clear();

    rig.program.runAutoClean([&](const std::wstring& text) { rig.log.push_back(L"label:" + text); },
                             main.options());

    EXPECT_EQ(rig.labels(L"label:"),
              (std::vector<std::wstring>{L"Clearing cache contents...", L"Deleting coookies...",
                                         L"Clearing History...", L"Emptying Recycle Bin...",
                                         L"Deleting temp files..."}));
    EXPECT_EQ(rig.urlCache.entries.size(), 1u);  // the "Cookie:" entry is spared
    EXPECT_TRUE(rig.history.shared->entries.empty());
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"u.tmp"));
    EXPECT_FALSE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    // The history list still shows what it showed before the run.
    EXPECT_EQ(rig.mainView().historyRows.size(), 1u);
}

TEST(AutoClean, AtStartUpOnlyTheTickedAreasAreCleaned) {
    RunRig rig({L"runonstart", L"autocleartemp"});
    rig.start();
    std::vector<std::wstring> expected = kLoading;
    expected.push_back(L"Deleting temp files...");
    EXPECT_EQ(rig.splashActions(), expected);
    EXPECT_EQ(rig.urlCache.entries.size(), 2u);
    EXPECT_TRUE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    EXPECT_EQ(rig.history.shared->entries.size(), 1u);
    EXPECT_EQ(rig.shell.recycleBinEmptied, 0);
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"t.tmp"));
}

TEST(AutoClean, TheGateWithoutAreasCleansNothingAndTheGateOffRunsNothing) {
    for (bool gate : {true, false}) {
        RunRig rig({gate ? L"runonstart" : L"autodelcache", L"autodelcookies"});
        if (gate) rig.settings.put(L"autodelcookies", L"0");
        rig.start();
        EXPECT_EQ(rig.splashActions(), kLoading);
        EXPECT_EQ(rig.urlCache.entries.size(), 2u);
        EXPECT_TRUE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    }
}

TEST(AutoClean, TheStartUpRunTriesIndexDatAndAFailingHistoryStoreDoesNotStopIt) {
    RunRig rig({L"runonstart", L"autodelcookies", L"autodelhistory", L"autocleartemp"});
    rig.files.addFile(rig.cookieFolder + L"\\", L"index.dat", kAttrHidden);
    rig.history.shared->clearResult = kNotImplemented;
    rig.start();
    EXPECT_FALSE(rig.files.files.count(rig.cookieFolder + L"\\index.dat"));
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"t.tmp"));
    EXPECT_FALSE(rig.program.state().includeIndexDat);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST(Tray, MouseMessagesPopUpTheMenuOrShowTheWindow) {
    struct Case {
        int message;
        Log effect;
    };
    const Log shown{L"tray.timer.stop", L"main.show", L"main.repaint",
                    L"main.splitColumns " + fakes::ctlName(Ctl::lstcookies),
                    L"main.splitColumns " + fakes::ctlName(Ctl::URLs)};  // and activated
    // The left button's press waits for a second click before the menu opens.
    for (const Case& c :
         {Case{kWmLButtonDown, {L"tray.timer"}}, Case{kWmRButtonUp, {L"tray.menu"}},
          Case{kWmLButtonDblClk, shown}, Case{0x202, {}}, Case{0x204, {}}, Case{0x200, {}}}) {
        RunRig rig({});
        rig.start();
        rig.log.clear();
        rig.windows.lastTray->TrayMouseMessage(c.message);
        EXPECT_EQ(rig.log, c.effect) << c.message;
    }
}

TEST(Tray, TheMenuOpensOnceTheDoubleClickTimeHasPassed) {
    RunRig rig({});
    rig.start();
    rig.log.clear();
    rig.windows.lastTray->TrayMouseMessage(kWmLButtonDown);
    rig.windows.lastTray->clickTimeElapsed();
    EXPECT_EQ(rig.log, (Log{L"tray.timer", L"tray.timer.stop", L"tray.menu"}));
}

// Start-up makes the main window a part at a time and the program answers in between; what the
// tray is asked for meanwhile waits until the window and its preferences are loaded.
TEST(Tray, WhatItIsAskedDuringStartUpWaitsForTheWindowAndItsPreferences) {
    for (const bool exit : {false, true}) {
        RunRig rig({L"autostart"});
        rig.windows.mainParts = 3;
        rig.program.Main();
        rig.windows.activateSplash(2);
        EXPECT_EQ(rig.program.mainWindow(), nullptr);  // two parts of three made
        rig.log.clear();
        if (exit) {
            rig.windows.lastTray->mnuexit_Click();
        } else {
            rig.windows.lastTray->TrayMouseMessage(kWmLButtonDblClk);
        }
        EXPECT_TRUE(rig.dialogs.shown.empty());
        EXPECT_EQ(rig.log, exit ? Log{} : Log{L"tray.timer.stop"});  // nothing shown yet
        rig.windows.runSplashSteps();
        EXPECT_FALSE(rig.program.splashLoaded());
        if (exit) {
            EXPECT_EQ(rig.dialogs.shown.size(), 1u);
            const Log ending{L"main.destroy", L"tray.remove", L"tray.destroy", L"end",
                             L"splash.destroy"};
            ASSERT_GE(rig.log.size(), ending.size());
            EXPECT_EQ(
                Log(rig.log.end() - static_cast<std::ptrdiff_t>(ending.size()), rig.log.end()),
                ending);
            EXPECT_TRUE(rig.registry.hasValue(kRunKey, L" Purgeon"));
        } else {
            EXPECT_TRUE(rig.mainView().visible);
            EXPECT_EQ(rig.program.mainWindow()->value(Ctl::chkautostart), 1);
        }
    }
}

TEST(Tray, AboutOpensTheWindowOnTheAboutTabLoadingItWhenClosed) {
    RunRig rig({});
    rig.start();
    rig.program.unloadMainWindow();
    rig.log.clear();
    rig.windows.lastTray->mnuabout_Click();
    ASSERT_NE(rig.program.mainWindow(), nullptr);
    EXPECT_EQ(rig.program.mainWindow()->selectedTab(), kTabAbout);
    EXPECT_TRUE(rig.mainView().visible);
    rig.windows.lastTray->TrayMouseMessage(kWmLButtonDblClk);  // already open: not loaded again
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), L"main.create"), 1);
}

TEST(Exit, CancelChangesNothing) {
    RunRig rig({L"runonshutdown", L"autodelcache"});
    rig.start();
    rig.dialogs.answers = {kIdCancel};
    rig.log.clear();
    rig.windows.lastTray->mnuexit_Click();
    EXPECT_EQ(
        rig.dialogs.shown,
        (std::vector<fakes::ShownBox>{{L"Do you wish to end the application?", L" Purgeon", 1}}));
    EXPECT_TRUE(rig.log.empty());
    EXPECT_TRUE(rig.program.trayLoaded());
}

TEST(Exit, WithoutShutdownRunTheProgramEndsRightAfterTheQuestion) {
    RunRig rig({L"autodelcache", L"autostart"});
    rig.start();
    rig.log.clear();
    rig.windows.lastTray->mnuexit_Click();
    EXPECT_EQ(rig.log, (Log{L"main.destroy", L"tray.remove", L"tray.destroy", L"end"}));
    EXPECT_EQ(rig.urlCache.entries.size(), 2u);
    EXPECT_TRUE(rig.registry.hasValue(kRunKey, L" Purgeon"));
}

TEST(Exit, TheShutdownRunShowsItsStepsOnTheWorkingWindowAndListsEachAreaAfresh) {
    RunRig rig({L"runonshutdown", L"autodelcache", L"autodelcookies"});
    rig.start();
    // A browser went on after start-up: new cookies and cache entries must go too.
    rig.files.addFile(rig.cookieFolder + L"\\", L"late.txt");
    rig.urlCache.entries.push_back({L"http://late.example/page", kNormalCacheEntry});
    rig.log.clear();
    rig.windows.lastTray->mnuexit_Click();
    const Log expected{L"working.create",
                       L"working.show",
                       L"working:Clearing cache contents...",
                       L"cache.rows 0",
                       L"cache.rows 3",
                       L"busy",
                       L"cache.rows 0",
                       L"cache.rows 1",
                       L"idle",
                       L"working:Deleting coookies...",
                       L"cookies.rows 0",
                       L"cookies.rows 2",
                       L"busy",
                       L"cookies.rows 0",
                       L"idle",
                       L"working.destroy",
                       L"main.destroy",
                       L"tray.remove",
                       L"tray.destroy",
                       L"end"};
    EXPECT_EQ(rig.log, expected);
    EXPECT_FALSE(rig.files.files.count(rig.cookieFolder + L"\\late.txt"));
    EXPECT_EQ(rig.urlCache.entries.size(), 1u);  // only the spared cookie row
    EXPECT_TRUE(rig.logFile.contains(L"Cookies: 2 removed"));
}

TEST(Exit, AfterTheWindowWasClosedTheStoredOptionsStillRuleTheRunAndAutostart) {
    RunRig rig({L"runonshutdown", L"autodelcache", L"autostart", L"autocleartemp"});
    rig.start();
    rig.program.unloadMainWindow();
    rig.files.addFile(rig.folders.temp, L"later.tmp", kAttrArchive, {1});
    rig.log.clear();
    rig.windows.lastTray->mnuexit_Click();
    EXPECT_EQ(rig.labels(L"working:"), (std::vector<std::wstring>{L"Clearing cache contents...",
                                                                  L"Deleting temp files..."}));
    EXPECT_EQ(rig.urlCache.entries.size(), 1u);  // listed afresh: all but the spared cookie row
    // The box's immediate action did not run on loading: the run cleared the folder once.
    EXPECT_EQ(rig.labels(L"status:"), std::vector<std::wstring>{});
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"later.tmp"));
    EXPECT_TRUE(rig.registry.hasValue(kRunKey, L" Purgeon"));
    EXPECT_EQ(rig.log.back(), L"end");
}

}  // namespace
}  // namespace purgeon
