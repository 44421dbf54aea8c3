// The main window: load, activation, tab switch, close and reopen, Help and the link label.
#include <gtest/gtest.h>

#include "app/app_text.h"
#include "product/product.h"
#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::Log;
using fakes::ProgramRig;

TEST(MainWindow, LoadSetsCaptionAboutTextsAndGeneralTabWithoutListing) {
    ProgramRig rig;
    rig.appInfo.versionNumbers = {1, 0};
    FrmMain& main = rig.program.loadMainWindow();

    auto& view = rig.mainView();
    EXPECT_EQ(view.caption, L" Purgeon");
    EXPECT_EQ(view.texts[static_cast<int>(Ctl::lblappname)], L" Purgeon 1.0.0");
    EXPECT_EQ(view.texts[static_cast<int>(Ctl::lblproginfo)],
              L"For Windows\u00ae 10 and Windows\u00ae 11");
    EXPECT_EQ(view.texts[static_cast<int>(Ctl::lblurl)], vendorUrl());
    EXPECT_EQ(main.selectedTab(), kTabGeneral);
    EXPECT_EQ(rig.urlCache.walks, 0);
    EXPECT_FALSE(view.visible);
    // Every option starts unticked, neither shredding level selected.
    for (Ctl box : {Ctl::chkautostart, Ctl::chkDelCachedPasswords, Ctl::optQuick, Ctl::optDOD})
        EXPECT_EQ(main.value(box), 0);
}

TEST(MainWindow, ActivationRepaintsSplitsTheListsColumnsAndReloadsTheOptions) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.Form_Activate();
    EXPECT_EQ(rig.log,
              (Log{L"main.repaint", L"main.splitColumns " + fakes::ctlName(Ctl::lstcookies),
                   L"main.splitColumns " + fakes::ctlName(Ctl::URLs),
                   L"main.value " + fakes::ctlName(Ctl::optQuick) + L"=1"}));
}

TEST(MainWindow, TabSwitchListsTheCacheOnlyOnTheCacheTab) {
    struct Case {
        int tab;
        int cacheWalks;
    };
    for (const Case& c : {Case{kTabGeneral, 0}, Case{kTabCookies, 0}, Case{kTabCache, 1},
                          Case{kTabHistory, 0}, Case{kTabSecureWipe, 0}, Case{kTabAbout, 0}}) {
        ProgramRig rig;
        rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
        FrmMain& main = rig.loadMain();
        main.selectTab(c.tab);
        EXPECT_EQ(rig.urlCache.walks, c.cacheWalks) << "tab " << c.tab;
        EXPECT_EQ(main.selectedTab(), c.tab);
    }
}

TEST(MainWindow, SelectingTheCacheTabAgainListsAfresh) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.selectTab(kTabCache);
    rig.urlCache.entries.push_back({L"http://new.example/", kNormalCacheEntry});
    main.selectTab(kTabAbout);
    main.selectTab(kTabCache);
    EXPECT_EQ(rig.urlCache.walks, 2);
    EXPECT_EQ(main.cacheList().rows().size(), 1u);
}

TEST(MainWindow, OkUnloadsAndReopeningStartsOverOnTheGeneralTabWithEmptyLists) {
    ProgramRig rig;
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
    FrmMain& first = rig.loadMain();
    first.selectTab(kTabCache);
    first.setValue(Ctl::chkDelCachedPasswords, 1);
    rig.program.showMainWindow();
    auto* firstView = &rig.mainView();

    first.cmdok_Click();
    EXPECT_TRUE(firstView->destroyed);
    EXPECT_EQ(rig.program.mainWindow(), nullptr);

    rig.program.showMainWindow();
    FrmMain* second = rig.program.mainWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(&rig.mainView(), firstView);
    EXPECT_TRUE(rig.mainView().visible);
    EXPECT_EQ(second->selectedTab(), kTabGeneral);
    EXPECT_TRUE(second->cacheList().rows().empty());
    EXPECT_EQ(second->value(Ctl::chkDelCachedPasswords), 0);
}

TEST(MainWindow, ShowingALoadedWindowDoesNotLoadItAgain) {
    ProgramRig rig;
    rig.program.showMainWindow();
    FrmMain* first = rig.program.mainWindow();
    rig.program.showMainWindow();
    EXPECT_EQ(rig.program.mainWindow(), first);
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), L"main.create"), 1);
}

TEST(MainWindow, HelpAndLinkOpenTheVendorPagesThroughTheShell) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.cmdHelp_Click();
    main.lblurl_Click();
    ASSERT_EQ(rig.shell.opened.size(), 2u);
    EXPECT_EQ(rig.shell.opened[0], vendorUrl() + L"products/zp/help.html");
    EXPECT_EQ(rig.shell.opened[1], vendorUrl());
}

TEST(MainWindow, AssigningAnOptionShowsItOnlyWhenTheValueChanges) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.setValue(Ctl::chkDelCachedPasswords, 1);
    main.setValue(Ctl::chkDelCachedPasswords, 1);
    main.setValue(Ctl::chkDelCachedPasswords, 0);
    const std::wstring box = fakes::ctlName(Ctl::chkDelCachedPasswords);
    EXPECT_EQ(rig.log, (Log{L"main.value " + box + L"=1", L"main.value " + box + L"=0"}));
}

}  // namespace
}  // namespace purgeon
