// The Cookies tab through the main window: the folder from the registry, deletion and selection.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;

struct CookieRig : ProgramRig {
    const std::wstring folder = cookieFolder + L"\\";
    CookieRig() {
        files.addFile(folder, L"index.dat", kAttrHidden | kAttrSystem);
        files.addFile(folder, L"me@a.txt");
        files.addFile(folder, L"me@b.txt", kAttrReadOnly);
        files.addFile(folder, L"me@c.txt");
    }
    std::vector<std::wstring> names() {
        std::vector<std::wstring> result;
        for (const CookieRow& row : program.mainWindow()->cookieList().rows())
            result.push_back(row.name);
        return result;
    }
};

const fakes::ShownBox kQuestion{L"Are you sure you wish to delete the selected cookies?",
                                L"Delete Cookies", 36};

TEST(CookiesWindow, ListsTheRegistryFolderOffTheWindowsThreadWithoutPumping) {
    for (const wchar_t* stored : {L"C:\\Users\\me\\Cookies", L"C:\\Users\\me\\Cookies\\"}) {
        CookieRig rig;
        rig.registry.values[{kShellFoldersKey, L"Cookies"}] =
            fakes::FakeRegistry::stringValue(stored);
        rig.program.state().includeIndexDat = true;
        FrmMain& main = rig.loadMain();
        main.selectTab(kTabCookies);
        EXPECT_EQ(rig.mainView().texts[static_cast<int>(Ctl::txtCookieDir)], stored);
        EXPECT_EQ(rig.names(),
                  (std::vector<std::wstring>{L"index.dat", L"me@a.txt", L"me@b.txt", L"me@c.txt"}));
        EXPECT_EQ(main.cookieList().rows()[1].path, L"C:\\Users\\me\\Cookies\\me@a.txt");
        EXPECT_EQ(rig.windows.pumps, 0);  // the listing runs beside the window's thread
    }
}

TEST(CookiesWindow, AMissingFolderValueIsToldOnceAndListsNothing) {
    CookieRig rig;
    rig.registry.values.clear();
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    EXPECT_EQ(rig.dialogs.shown,
              (std::vector<fakes::ShownBox>{{rig.errors.text(2), L" Purgeon", 0}}));
    EXPECT_TRUE(main.cookieList().rows().empty());
    EXPECT_TRUE(rig.files.listed.empty());
}

TEST(CookiesWindow, AnsweringNoDeletesNothingButHidesIndexDatFromThenOn) {
    CookieRig rig;
    rig.program.state().includeIndexDat = true;
    rig.dialogs.answers = {kIdNo};
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    main.cmdselectallcookies_Click();
    main.cmddelcookies_Click();
    EXPECT_EQ(rig.dialogs.shown, (std::vector<fakes::ShownBox>{kQuestion}));
    EXPECT_EQ(rig.files.files.size(), 4u);
    EXPECT_EQ(rig.names(), (std::vector<std::wstring>{L"me@a.txt", L"me@b.txt", L"me@c.txt"}));
    EXPECT_FALSE(rig.program.state().includeIndexDat);
}

TEST(CookiesWindow, YesRightAfterALoadDeletesOnlyTheLastRowsFileAndEndsWithTheSummary) {
    CookieRig rig;
    rig.files.files[rig.folder + L"me@c.txt"].content.assign(700, 1);
    rig.files.files[rig.folder + L"me@a.txt"].content.assign(50, 1);
    rig.dialogs.answers = {kIdYes};
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    rig.log.clear();
    main.cmddelcookies_Click();
    EXPECT_FALSE(rig.files.files.count(rig.folder + L"me@c.txt"));
    EXPECT_EQ(rig.names(), (std::vector<std::wstring>{L"me@a.txt", L"me@b.txt"}));
    EXPECT_EQ(rig.log.front(), L"status:Deleting cookies...");
    EXPECT_EQ(rig.log.back(), L"status:");
    EXPECT_EQ(rig.dialogs.shown, (std::vector<fakes::ShownBox>{
                                     kQuestion,
                                     {L"Freed 700 bytes\r\n\r\nCookies: 1 file removed, 700 bytes",
                                      L" Purgeon", kMbOk | kMbIconInformation}}));
}

TEST(CookiesWindow, AHeaderClickSortsTheListWhichKeepsItsOrderWhenListedAfresh) {
    CookieRig rig;
    rig.files.files[rig.folder + L"me@a.txt"].content.assign(30, 1);
    rig.files.files[rig.folder + L"me@b.txt"].content.assign(10, 1);
    rig.files.files[rig.folder + L"me@c.txt"].content.assign(20, 1);
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    main.lstcookies_ColumnClick(4);  // the size
    EXPECT_EQ(rig.names(), (std::vector<std::wstring>{L"me@b.txt", L"me@c.txt", L"me@a.txt"}));
    main.lstcookies_ColumnClick(4);
    EXPECT_EQ(rig.log.back(), L"cookies.rows 3");
    main.loadCookiesList();
    EXPECT_EQ(rig.names(), (std::vector<std::wstring>{L"me@a.txt", L"me@c.txt", L"me@b.txt"}));
}

TEST(CookiesWindow, NothingSelectedDeletesNothingAndListsAgain) {
    CookieRig rig;
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    main.cmdselectnocookies_Click();
    rig.dialogs.answers = {kIdYes};
    const int listings = static_cast<int>(rig.files.listed.size());
    main.cmddelcookies_Click();
    EXPECT_EQ(rig.files.files.size(), 4u);
    EXPECT_EQ(static_cast<int>(rig.files.listed.size()), listings + 1);
}

TEST(CookiesWindow, TheAutomaticModeDeletesEveryRowIncludingReadOnlyAndIndexDat) {
    CookieRig rig;
    rig.program.state().includeIndexDat = true;
    rig.files.files[rig.folder + L"me@a.txt"].locked = true;  // in use: stays, row stays
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    main.deletecookies(false);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(rig.names(), (std::vector<std::wstring>{L"me@a.txt"}));
    EXPECT_EQ(rig.files.files.size(), 1u);
}

TEST(CookiesWindow, SelectionCommandsAndWhereTheFocusGoes) {
    CookieRig rig;
    FrmMain& main = rig.loadMain();
    main.loadCookiesList();
    auto selected = [&] {
        std::vector<bool> flags;
        for (const CookieRow& row : main.cookieList().rows()) flags.push_back(row.selected);
        return flags;
    };
    const std::wstring focusList = L"focus " + fakes::ctlName(Ctl::lstcookies);
    rig.log.clear();
    main.cmdselectnocookies_Click();
    EXPECT_EQ(selected(), std::vector<bool>(3, false));
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), focusList), 0);
    main.lstcookies_ItemSelected(1, true);
    main.cmdinvertcookiesselection_Click();
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, true}));
    main.cmdselectallcookies_Click();
    EXPECT_EQ(selected(), std::vector<bool>(3, true));
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), focusList), 2);
}

}  // namespace
}  // namespace purgeon
