// Start-up: the single-instance refusal, the splash texts and the order of the start-up steps.
#include <gtest/gtest.h>

#include "app/app_text.h"
#include "product/product.h"
#include "fakes/program_rig.h"
#include "prefs/registry_text.h"

namespace purgeon {
namespace {

using fakes::Log;
using fakes::ProgramRig;

std::wstring id(Ctl control) { return fakes::ctlName(control); }

TEST(Startup, SecondInstanceIsRefusedWithTheTitledMessageAndNothingElse) {
    ProgramRig rig;
    rig.instance.otherRunning = true;

    EXPECT_FALSE(rig.program.Main());

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0],
              (fakes::ShownBox{L" Purgeon is already running", L" Purgeon", 64}));
    EXPECT_TRUE(rig.log.empty());
    EXPECT_FALSE(rig.program.state().includeIndexDat);
    EXPECT_EQ(rig.urlCache.walks, 0);
}

TEST(Startup, MainShowsTheSplashWithVersionAndPublisherAndWaitsForActivation) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program.Main());

    EXPECT_TRUE(rig.program.state().includeIndexDat);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    Log expected{L"tray.create",
                 L"tray.add  Purgeon",
                 L"splash.create",
                 L"splash.text " + id(Ctl::lblversion) + L"=Version 1.0.0",
                 L"splash.text " + id(Ctl::lblgeneral) + L"=" + std::wstring(kPublisherLine),
                 L"splash.show"};
    EXPECT_EQ(rig.log, expected);
    EXPECT_EQ(rig.program.mainWindow(), nullptr);
}

TEST(Startup, VersionLabelUsesPlainDecimalNumbers) {
    struct Case {
        AppVersion version;
        std::wstring label;
    };
    for (const Case& c : {Case{{1, 0, 0}, L"Version 1.0.0"}, Case{{2, 13, 0}, L"Version 2.13.0"},
                          Case{{10, 5, 3}, L"Version 10.5.3"}}) {
        ProgramRig rig;
        rig.appInfo.versionNumbers = c.version;
        rig.program.Main();
        EXPECT_EQ(rig.log.at(3), L"splash.text " + id(Ctl::lblversion) + L"=" + c.label);
    }
}

TEST(Startup, ActivationLoadsTheMainWindowHiddenListsNothingAndClosesTheSplash) {
    ProgramRig rig;
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
    rig.program.Main();
    rig.log.clear();

    // Once shown, the splash becomes the active window and its activation drives start-up.
    rig.windows.activateSplash();

    const std::wstring action = L"splash.text " + id(Ctl::lblaction) + L"=";
    const std::wstring repaint = L"splash.repaint " + id(Ctl::lblaction);
    Log expected{
        action + L"Loading preferences...",         repaint,          L"main.create", L"main.tab 0",
        L"main.value " + id(Ctl::optQuick) + L"=1", L"splash.destroy"};
    EXPECT_EQ(rig.log, expected);
    ASSERT_NE(rig.program.mainWindow(), nullptr);
    EXPECT_FALSE(rig.mainView().visible);
    EXPECT_FALSE(rig.program.splashLoaded());
    // The lists wait for their tabs to be opened.
    EXPECT_TRUE(rig.program.mainWindow()->cacheList().rows().empty());
    rig.program.mainWindow()->selectTab(kTabCache);
    EXPECT_EQ(rig.program.mainWindow()->cacheList().rows().size(), 1u);
    // Nothing stored: no autostart value, no run, nothing asked.
    EXPECT_FALSE(rig.registry.hasValue(kRunKey, L" Purgeon"));
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(rig.shell.recycleBinEmptied, 0);
}

TEST(Startup, StoredOptionsRenewAutostartAndGateTheRun) {
    struct Case {
        bool autostart;
        bool runOnStart;
        bool cacheBox;
        bool cacheCleared;
    };
    for (const Case& c : {Case{true, false, true, false}, Case{false, true, true, true},
                          Case{false, true, false, false}}) {
        ProgramRig rig;
        rig.settings.put(L"autostart", c.autostart ? L"1" : L"0");
        rig.settings.put(L"runonstart", c.runOnStart ? L"1" : L"0");
        rig.settings.put(L"autodelcache", c.cacheBox ? L"1" : L"0");
        rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
        rig.registry.values[{kRunKey, L" Purgeon"}] = fakes::FakeRegistry::stringValue(L"stale");
        rig.program.Main();
        rig.log.clear();
        rig.windows.activateSplash();

        EXPECT_EQ(rig.registry.text(kRunKey, L" Purgeon"),
                  c.autostart ? L"\"" + rig.appInfo.exePath() + L"\"" : L"stale");
        EXPECT_EQ(rig.urlCache.entries.empty(), c.cacheCleared);
        const std::wstring lastAction = [&] {
            std::wstring last;
            for (const std::wstring& line : rig.log)
                if (line.rfind(L"splash.text " + id(Ctl::lblaction), 0) == 0) last = line;
            return last;
        }();
        EXPECT_EQ(lastAction,
                  L"splash.text " + id(Ctl::lblaction) + L"=" +
                      (c.cacheCleared ? L"Clearing cache contents..." : L"Loading preferences..."));
    }
}

}  // namespace
}  // namespace purgeon
