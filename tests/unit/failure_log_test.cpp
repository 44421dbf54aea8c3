// Failures that no box tells of: each leaves a line in the log with the system's words for it.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/program_rig.h"
#include "update/update_check.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;

struct Case {
    const char* name;
    std::function<void(ProgramRig&)> arrange;
    std::function<void(ProgramRig&, FrmMain&)> act;
    std::vector<std::wstring> lines;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"autostart value",
         [](ProgramRig& rig) { rig.registry.keys.erase(kRunKey); },
         [](ProgramRig& rig, FrmMain& main) {
             main.setValue(Ctl::chkautostart, 1);
             rig.program.unloadMainWindow();
         },
         {L"Autostart: the Run value was not written: system text 2"}},
        {"preferences read",
         [](ProgramRig& rig) { rig.settings.refused[L"runonstart"] = kErrorAccessDenied; },
         [](ProgramRig&, FrmMain& main) { main.loadUserPrefs(); },
         {L"Preferences: not all could be read: system text 5"}},
        {"preferences saved",
         [](ProgramRig& rig) { rig.settings.refused[L"shredlevel"] = kErrorAccessDenied; },
         [](ProgramRig&, FrmMain& main) { main.saveUserPrefs(); },
         {L"Preferences: not saved: system text 5"}},
        {"cookie folder",
         [](ProgramRig& rig) {
             rig.files.listErrors[rig.cookieFolder + L"\\"] = kErrorAccessDenied;
         },
         [](ProgramRig&, FrmMain& main) { main.loadCookiesList(); },
         {L"Cookies: C:\\Users\\me\\Cookies could not be listed: system text 5"}},
        {"cache walk",
         [](ProgramRig& rig) {
             rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
             rig.urlCache.failAfter = 0;
         },
         [](ProgramRig&, FrmMain& main) { main.loadCacheContents(); },
         {L"Cache: the listing stopped early: system text 6"}},
        {"cache entry",
         [](ProgramRig& rig) {
             rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
             rig.urlCache.refused = {L"http://a.example/"};
         },
         [](ProgramRig&, FrmMain& main) {
             main.loadCacheContents();
             main.List1_Click(0);
             main.cmdDelSelFromCache_Click();
         },
         {L"Cache: the selected entry was not removed: system text 5"}},
        {"web pages",
         [](ProgramRig& rig) { rig.shell.openError = kErrorFileNotFound; },
         [](ProgramRig&, FrmMain& main) {
             main.cmdHelp_Click();
             main.lblurl_Click();
         },
         {L"The help page could not be opened: system text 2",
          L"The vendor's page could not be opened: system text 2"}},
        {"update check",
         [](ProgramRig& rig) {
             rig.urlCache.entries = {{versionFileUrl(), kNormalCacheEntry}};
             rig.urlCache.refused = {versionFileUrl()};
             rig.downloader.failure = kErrorTimeout;
         },
         [](ProgramRig&, FrmMain& main) { main.cmdcheckForUpdates_Click(); },
         {L"Update check: the cached copy of the version file was not dropped: system text 5",
          L"Update check: the version file could not be fetched: system text 1460"}},
        {"download page",
         [](ProgramRig& rig) {
             rig.downloader.published = "9.9";
             rig.dialogs.answers = {kIdYes};
             rig.shell.openError = kErrorFileNotFound;
         },
         [](ProgramRig&, FrmMain& main) { main.cmdcheckForUpdates_Click(); },
         {L"Update check: the download page could not be opened: system text 2"}},
        {"temporary folder",
         [](ProgramRig& rig) {
             rig.files.addFile(rig.folders.temp, L"locked", kAttrDirectory);
             rig.files.listErrors[rig.folders.temp + L"locked\\"] = kErrorAccessDenied;
         },
         [](ProgramRig& rig, FrmMain&) { static_cast<void>(rig.clean(kTempArea)); },
         {L"Temporary files: C:\\Users\\me\\AppData\\Local\\Temp\\locked\\ could not be listed: "
          L"system text 5"}},
        {"wiped folder",
         [](ProgramRig& rig) {
             rig.files.addFile(L"D:\\x\\", L"a.txt", kAttrArchive, {1});
             rig.files.addFile(L"D:\\x\\", L"locked", kAttrDirectory);
             rig.files.listErrors[L"D:\\x\\locked\\"] = kErrorAccessDenied;
         },
         [](ProgramRig&, FrmMain& main) {
             main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
             main.wipeOut();
         },
         {L"Wipe of a chosen folder: D:\\x\\locked\\ could not be listed: system text 5"}},
    };
    return all;
}

TEST(FailureLog, EachUnannouncedFailureIsWrittenDownWithTheSystemsWords) {
    for (const Case& c : cases()) {
        ProgramRig rig;
        c.arrange(rig);
        FrmMain& main = rig.loadMain();
        c.act(rig, main);
        for (const std::wstring& line : c.lines) EXPECT_TRUE(rig.logFile.contains(line)) << c.name;
    }
}

TEST(FailureLog, RoutineWorkWritesNoFailure) {
    ProgramRig rig;
    rig.files.addFile(rig.cookieFolder + L"\\", L"user@a.txt");
    rig.urlCache.entries = {{L"http://a.example/", kNormalCacheEntry}};
    rig.downloader.published = "1.0";  // no cached copy of it to drop
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();  // nothing stored yet
    main.saveUserPrefs();
    main.loadCookiesList();
    main.loadCacheContents();
    main.cmdDelSelFromCache_Click();  // no current row
    main.cmdcheckForUpdates_Click();
    main.cmdHelp_Click();
    rig.program.unloadMainWindow();  // autostart unticked: the missing value is removed quietly
    EXPECT_FALSE(rig.logFile.contains(L"system text")) << rig.logFile.lines.size();
}

}  // namespace
}  // namespace purgeon
