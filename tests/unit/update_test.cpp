// The update check: the first-field rule, the number conversion, the comparison and the messages.
#include <gtest/gtest.h>

#include "app/app_text.h"
#include "product/product.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "update/update_check.h"

namespace purgeon {
namespace {

struct UpdateRig {
    fakes::FakeDialogs dialogs;
    fakes::FakeShell shell;
    fakes::FakeDownloader downloader;
    fakes::FakeUrlCache cache;
    fakes::FakeAppInfo app;
    UpdateServices services{dialogs, shell, downloader, cache, app};
    void run() { checkForUpdates(services); }
};

const fakes::ShownBox kUpToDate{L"Your version is up to date", L" Purgeon", 64};
const fakes::ShownBox kNewer{
    L"A newer version is available!. Do you wish to go to the download page?", L" Purgeon", 68};

TEST(UpdateCheck, ComparesTheRunningVersionWithTheFirstFieldAsNumbers) {
    struct Case {
        AppVersion running;
        std::string published;
        bool newer;
    };
    for (const Case& c :
         {Case{{1, 0}, "1.0", false}, Case{{1, 0}, "1.01", true}, Case{{1, 0}, "2", true},
          Case{{1, 0}, "0.9", false}, Case{{1, 0}, "1.1,beta\r\nnotes", true},
          Case{{1, 2}, "1.10", false}, Case{{1, 10}, "1.2", true},
          Case{{1, 0}, "  \"1.5\",x", true}, Case{{1, 0}, "1.0\n2.0", false},
          // A fraction longer than a double's range still reads as the number it spells.
          Case{{1, 0}, "2." + std::string(320, '5'), true},
          Case{{1, 0}, "0.0" + std::string(320, '1'), false},
          Case{{1, 0},
               "\xEF\xBB\xBF"
               "1.5",
               true}}) {
        UpdateRig rig;
        rig.app.versionNumbers = c.running;
        rig.downloader.published = c.published;
        rig.dialogs.answers = {kIdNo};
        rig.run();
        ASSERT_EQ(rig.dialogs.shown.size(), 1u) << c.published;
        EXPECT_EQ(rig.dialogs.shown[0], c.newer ? kNewer : kUpToDate) << c.published;
        EXPECT_TRUE(rig.shell.opened.empty());
    }
}

TEST(UpdateCheck, YesOpensTheDownloadPageAndTheVersionFileIsFetchedFresh) {
    UpdateRig rig;
    rig.downloader.published = "9.9";
    rig.dialogs.answers = {kIdYes};
    rig.run();
    EXPECT_EQ(rig.downloader.urls,
              (std::vector<std::wstring>{vendorUrl() + L"products/zp/version.txt"}));
    EXPECT_EQ(rig.cache.removed, rig.downloader.urls);  // the cached copy is dropped first
    // Into memory, bounded in size and time: the program's folder may be read-only.
    EXPECT_EQ(rig.downloader.limits,
              (std::vector<std::pair<std::size_t, unsigned>>{{64 * 1024, 15}}));
    EXPECT_EQ(rig.shell.opened, (std::vector<std::wstring>{vendorUrl() + L"products/zp/"}));
}

TEST(UpdateCheck, AFailedOrTimedOutDownloadSaysTheFileWasNotFound) {
    for (long failure : {0L, kErrorTimeout}) {
        UpdateRig rig;
        rig.downloader.failure = failure;
        rig.run();
        EXPECT_EQ(rig.dialogs.shown,
                  (std::vector<fakes::ShownBox>{{L"The update file not found.Unable to verify if "
                                                 L"new download is present",
                                                 L" Purgeon", 0}}));
    }
}

TEST(UpdateCheck, AnUnreadableEmptyOrNonNumericFileGivesAClearMessage) {
    for (const std::string& published :
         {std::string(), std::string("beta"), std::string("1.x"), std::string("\"\""),
          std::string(".5"), std::string("1."), std::string(64 * 1024 + 1, '1')}) {
        UpdateRig rig;
        rig.downloader.published = published;
        rig.run();
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.dialogs.shown[0],
                  (fakes::ShownBox{L"The update file could not be read.Unable to verify if new "
                                   L"download is present",
                                   L" Purgeon", 48}))
            << published.substr(0, 10);
    }
}

}  // namespace
}  // namespace purgeon
