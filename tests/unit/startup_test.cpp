// Start-up: the single-instance refusal, the splash texts and the order of the start-up steps.
#include <gtest/gtest.h>

#include "app/app_text.h"
#include "fakes/program_rig.h"

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
    EXPECT_FALSE(rig.program.includeIndexDat);
    EXPECT_EQ(rig.urlCache.walks, 0);
}

TEST(Startup, MainShowsTheSplashWithVersionAndPublisherAndWaitsForActivation) {
    ProgramRig rig;
    ASSERT_TRUE(rig.program.Main());

    EXPECT_TRUE(rig.program.includeIndexDat);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    Log expected{L"splash.create", L"splash.text " + id(Ctl::lblversion) + L"=Version 1.0",
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
    for (const Case& c : {Case{{1, 0}, L"Version 1.0"}, Case{{2, 13}, L"Version 2.13"},
                          Case{{10, 5}, L"Version 10.5"}}) {
        ProgramRig rig;
        rig.appInfo.versionNumbers = c.version;
        rig.program.Main();
        EXPECT_EQ(rig.log.at(1), L"splash.text " + id(Ctl::lblversion) + L"=" + c.label);
    }
}

TEST(Startup, ActivationLoadsTheMainWindowHiddenListsTheCacheAndClosesTheSplash) {
    ProgramRig rig;
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
    rig.program.Main();
    rig.log.clear();

    // Once shown, the splash becomes the active window and its activation drives start-up.
    rig.windows.lastSplash->Form_Activate();

    const std::wstring action = L"splash.text " + id(Ctl::lblaction) + L"=";
    const std::wstring repaint = L"splash.repaint " + id(Ctl::lblaction);
    Log expected{action + L"Loading preferences...",
                 repaint,
                 L"main.create",
                 L"main.tab 0",
                 action + L"Loading cache contents...",
                 repaint,
                 L"busy",
                 L"cache.rows 1",
                 L"idle",
                 action + L"Loading history...",
                 repaint,
                 action + L"Loading cookie list...",
                 repaint,
                 L"splash.destroy"};
    EXPECT_EQ(rig.log, expected);
    ASSERT_NE(rig.program.mainWindow(), nullptr);
    EXPECT_FALSE(rig.mainView().visible);
    EXPECT_FALSE(rig.program.splashLoaded());
    EXPECT_EQ(rig.program.mainWindow()->cacheList().rows().size(), 1u);
}

}  // namespace
}  // namespace purgeon
