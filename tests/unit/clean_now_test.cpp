// "Clean &Now" on the General tab and in the tray menu: the question listing what the ticked areas
// would remove, No leaving everything, Yes cleaning them, and the summary of what went.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;
using fakes::ShownBox;

constexpr unsigned kQuestionStyle = kMbYesNo | kMbIconQuestion | kMbDefButton2;

struct CleanNowRig : ProgramRig {
    CleanNowRig() {
        files.addFile(cookieFolder + L"\\", L"me@a.txt", kAttrArchive,
                      std::vector<unsigned char>(300, 1));
        urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
    }
    // The window with the cookies and the temporary files ticked, and two files in the
    // temporary folder (ticking its box clears it at once: they come afterwards).
    FrmMain& tickedWindow() {
        FrmMain& main = loadMain();
        main.setValue(Ctl::Chkautoclearcookies, 1);
        main.setValue(Ctl::chkdeltempfiles, 1);
        files.addFile(folders.temp, L"a.tmp", kAttrArchive, std::vector<unsigned char>(2048, 2));
        files.addFile(folders.temp, L"b.tmp", kAttrArchive, std::vector<unsigned char>(1024, 3));
        dialogs.shown.clear();
        return main;
    }
    bool cookiesAndCacheThere() {
        return files.files.count(cookieFolder + L"\\me@a.txt") && urlCache.entries.size() == 1;
    }
    bool everythingThere() {
        return cookiesAndCacheThere() && files.files.count(folders.temp + L"a.tmp") &&
               files.files.count(folders.temp + L"b.tmp");
    }
};

TEST(CleanNow, TheQuestionListsTheTickedAreasWithCountsAndSizesAndNoRemovesNothing) {
    CleanNowRig rig;
    FrmMain& main = rig.tickedWindow();
    rig.dialogs.answers = {kIdNo};
    main.cmdCleanNow_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0],
              (ShownBox{L"Clean Now removes:\r\n\r\nCookies: 1 file, 300 bytes\r\nTemporary files: "
                        L"2 files, 3.0 KB\r\n\r\nClean these now?",
                        L" Purgeon", kQuestionStyle}));
    EXPECT_TRUE(rig.everythingThere());  // the cache was not ticked, and No was answered
}

TEST(CleanNow, YesCleansTheTickedAreasAndTheSummarySaysHowMuchWasFreed) {
    CleanNowRig rig;
    FrmMain& main = rig.tickedWindow();
    rig.dialogs.answers = {kIdYes};
    main.cmdCleanNow_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1],
              (ShownBox{L"Freed 3.3 KB\r\n\r\nCookies: 1 file removed, 300 bytes\r\nTemporary "
                        L"files: 2 files removed, 3.0 KB",
                        L" Purgeon", kMbOk | kMbIconInformation}));
    EXPECT_FALSE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"a.tmp"));
    EXPECT_EQ(rig.urlCache.entries.size(), 1u);  // not ticked
    EXPECT_TRUE(rig.logFile.contains(L"Clean Now: freed 3.3 KB."));
    EXPECT_EQ(rig.mainView().operationStates.front(), true);  // progress, with "&Cancel"
}

TEST(CleanNow, TheUsersTickOnTemporaryFilesOrTheRecycleBinCleansAtOnceAndEndsWithTheSummary) {
    CleanNowRig rig;
    rig.files.addFile(rig.folders.temp, L"a.tmp", kAttrArchive, std::vector<unsigned char>(2048));
    rig.settings.put(L"autocleartemp", L"1");
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();  // the stored tick clears the folder too, without a box
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"a.tmp"));
    EXPECT_TRUE(rig.dialogs.shown.empty());

    main.setValue(Ctl::chkdeltempfiles, 0);
    rig.files.addFile(rig.folders.temp, L"b.tmp", kAttrArchive, std::vector<unsigned char>(1024));
    main.setValue(Ctl::chkdeltempfiles, 1);
    main.setValue(Ctl::chkEmptyRecycleBin, 1);
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"b.tmp"));
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[0],
              (ShownBox{L"Freed 1.0 KB\r\n\r\nTemporary files: 1 file removed, 1.0 KB", L" Purgeon",
                        kMbOk | kMbIconInformation}));
    EXPECT_EQ(rig.dialogs.shown[1].text.rfind(L"Freed 0 bytes\r\n\r\nRecycle Bin: ", 0), 0u)
        << testing::PrintToString(rig.dialogs.shown[1].text);
}

TEST(CleanNow, WithNothingTickedItSaysSoAndTheTrayItemShowsTheWindowFirst) {
    CleanNowRig rig;
    rig.program.Main();
    rig.log.clear();
    rig.windows.lastTray->mnuCleanNow_Click();
    ASSERT_NE(rig.program.mainWindow(), nullptr);
    EXPECT_TRUE(rig.mainView().visible);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].style, kMbOk | kMbIconInformation);
    EXPECT_EQ(rig.dialogs.shown[0].text.rfind(L"Nothing is ticked for cleaning.", 0), 0u);
    EXPECT_TRUE(rig.cookiesAndCacheThere());
}

}  // namespace
}  // namespace purgeon
