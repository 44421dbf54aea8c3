// Preferences through the main window: order, encodings, the two immediate actions, autostart.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::Log;
using fakes::ProgramRig;

const std::vector<std::wstring> kKeys = {
    L"autostart",          L"runonstart",     L"runonshutdown",       L"autodelcookies",
    L"autodelcache",       L"autodelhistory", L"autoemptyrecyclebin", L"autocleartemp",
    L"delcachedpasswords", L"secureforall"};

std::vector<std::wstring> statusLines(const Log& log) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : log)
        if (line.rfind(L"status:", 0) == 0) lines.push_back(line);
    return lines;
}

TEST(PrefsWindow, AnEmptyStoreLeavesBoxesUntickedAndSelectsQuickWithoutActions) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();
    for (Ctl box :
         {Ctl::chkautostart, Ctl::chkEmptyRecycleBin, Ctl::chkdeltempfiles, Ctl::chkSecureForAll})
        EXPECT_EQ(main.value(box), 0);
    EXPECT_EQ(main.value(Ctl::optQuick), 1);
    EXPECT_EQ(main.value(Ctl::optDOD), 0);
    EXPECT_TRUE(statusLines(rig.log).empty());
    EXPECT_EQ(rig.folders.tempAsked, 0);
}

TEST(PrefsWindow, SaveWritesEveryKeyInOrderAndLoadRestoresThem) {
    ProgramRig rig;
    FrmMain& main = rig.loadMain();
    main.setValue(Ctl::chkDelOnShutDown, 1);
    main.setValue(Ctl::chkSecureForAll, 1);
    main.setValue(Ctl::optDOD, 1);  // the user picks "US DOD (7passes)"
    main.setValue(Ctl::optQuick, 0);
    main.saveUserPrefs();

    std::vector<std::wstring> expected;
    for (const std::wstring& key : kKeys)
        expected.push_back(key + L"=" +
                           (key == L"runonshutdown" || key == L"secureforall" ? L"1" : L"0"));
    expected.push_back(L"shredlevel=False");
    // The browser choices and the keep list follow the eleven options.
    expected.push_back(L"untickedbrowsers=");
    expected.push_back(L"keepcookies=");
    EXPECT_EQ(rig.settings.written, expected);

    rig.program.unloadMainWindow();
    FrmMain& reloaded = rig.loadMain();
    reloaded.loadUserPrefs();
    EXPECT_EQ(reloaded.value(Ctl::chkDelOnShutDown), 1);
    EXPECT_EQ(reloaded.value(Ctl::chkSecureForAll), 1);
    EXPECT_EQ(reloaded.value(Ctl::optQuick), 0);
    EXPECT_EQ(reloaded.value(Ctl::optDOD), 1);
}

// Every check box of the option table is bound to a box of the window by its key.
TEST(PrefsWindow, EveryStoredCheckBoxHasItsBox) {
    ProgramRig rig;
    for (const StoredOption& option : kStoredOptions)
        if (option.kind == OptionKind::box) rig.settings.put(option.key, L"1");
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();
    rig.settings.written.clear();
    main.saveUserPrefs();
    for (const StoredOption& option : kStoredOptions) {
        if (option.kind != OptionKind::box) continue;
        EXPECT_NE(std::find(rig.settings.written.begin(), rig.settings.written.end(),
                            std::wstring(option.key) + L"=1"),
                  rig.settings.written.end())
            << testing::PrintToString(std::wstring(option.key));
    }
}

TEST(PrefsWindow, MalformedStoredValuesFallBackToTheirDefaults) {
    ProgramRig rig;
    rig.settings.put(L"autostart", L"7");
    rig.settings.put(L"delcachedpasswords", L"2");  // greyed: kept
    rig.settings.put(L"shredlevel", L"sometimes");
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();
    EXPECT_EQ(main.value(Ctl::chkautostart), 0);
    EXPECT_EQ(main.value(Ctl::chkDelCachedPasswords), 2);
    EXPECT_EQ(main.value(Ctl::optQuick), 1);
    EXPECT_EQ(main.value(Ctl::optDOD), 0);
}

TEST(PrefsWindow, TickingLoadsRunRecycleBinThenTempOnceAndAgainAfterAnUnsavedUntick) {
    ProgramRig rig;
    rig.shell.log = &rig.log;
    rig.settings.put(L"autoemptyrecyclebin", L"1");
    rig.settings.put(L"autocleartemp", L"1");
    rig.files.addFile(rig.folders.temp, L"a.tmp", kAttrArchive, {1, 2, 3});
    FrmMain& main = rig.loadMain();

    main.Form_Activate();
    EXPECT_EQ(statusLines(rig.log),
              (std::vector<std::wstring>{L"status:Emptying Recycle bin...", L"status:",
                                         L"status:Deleting temp folder contents...", L"status:"}));
    const auto bin = std::find(rig.log.begin(), rig.log.end(), L"recycle bin emptied");
    const auto temp =
        std::find(rig.log.begin(), rig.log.end(), L"status:Deleting temp folder contents...");
    EXPECT_LT(bin, temp);
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"a.tmp"));

    rig.log.clear();
    main.Form_Activate();  // unchanged values: neither action
    EXPECT_TRUE(statusLines(rig.log).empty());
    EXPECT_EQ(rig.shell.recycleBinEmptied, 1);

    main.setValue(Ctl::chkdeltempfiles, 0);  // unticked without "&Ok": only the option changes
    EXPECT_TRUE(statusLines(rig.log).empty());
    main.Form_Activate();
    EXPECT_EQ(statusLines(rig.log),
              (std::vector<std::wstring>{L"status:Deleting temp folder contents...", L"status:"}));
    EXPECT_EQ(rig.shell.recycleBinEmptied, 1);
}

TEST(PrefsWindow, EveryUnloadWritesOrRemovesTheRunValueToMatchTheBox) {
    ProgramRig rig;
    const std::wstring quoted = L"\"" + rig.appInfo.exePath() + L"\"";
    FrmMain& main = rig.loadMain();
    main.setValue(Ctl::chkautostart, 1);
    rig.program.unloadMainWindow();  // the close box: not saved, written all the same
    EXPECT_EQ(rig.registry.text(kRunKey, L" Purgeon"), quoted);
    // Of the settings only the window's place is kept.
    ASSERT_EQ(rig.settings.written.size(), 1u);
    EXPECT_EQ(rig.settings.written.front().rfind(L"Placement=", 0), 0u);

    FrmMain& again = rig.loadMain();
    again.Form_Activate();  // the stored, unticked value shows
    EXPECT_EQ(again.value(Ctl::chkautostart), 0);
    again.cmdok_Click();
    EXPECT_FALSE(rig.registry.hasValue(kRunKey, L" Purgeon"));
    rig.loadMain();
    rig.program.unloadMainWindow();  // nothing there: removed quietly
    EXPECT_FALSE(rig.registry.hasValue(kRunKey, L" Purgeon"));
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

// Every profile found starts ticked; an unticked one is stored by its key and stays unticked,
// and the keep list is read from its value.
TEST(PrefsWindow, BrowserProfilesStartTickedAndAnUntickedOneStaysSo) {
    ProgramRig rig;
    const std::wstring userData = L"C:\\Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\";
    for (const wchar_t* profile : {L"Default", L"Profile 1", L"work;old"}) {
        rig.files.addFile(userData, profile, kAttrDirectory);
        rig.files.addFile(userData + profile + L"\\", L"Preferences");
    }
    rig.settings.values[L" Purgeon|Settings|keepcookies"] = L"www.Example.com;;.kept.test";
    FrmMain& main = rig.loadMain();
    main.loadUserPrefs();
    using Choices = std::vector<std::pair<std::wstring, bool>>;
    EXPECT_EQ(rig.mainView().browserChoices, (Choices{{L"Chrome (Default)", true},
                                                      {L"Chrome (Profile 1)", true},
                                                      {L"Chrome (work;old)", true}}));
    EXPECT_EQ(rig.mainView().keepSites, (std::vector<std::wstring>{L"example.com", L"kept.test"}));

    // A folder name may hold ";": the profile stays unticked after a restart all the same.
    main.lstBrowsers_ItemChecked(1, false);
    main.lstBrowsers_ItemChecked(2, false);
    main.saveUserPrefs();
    EXPECT_EQ(rig.settings.values[L" Purgeon|Settings|untickedbrowsers"],
              L"Chrome/Profile 1|Chrome/work;old|");
    EXPECT_EQ(rig.settings.values[L" Purgeon|Settings|keepcookies"], L"example.com|kept.test|");
    rig.program.unloadMainWindow();
    rig.loadMain().loadUserPrefs();
    EXPECT_EQ(rig.mainView().browserChoices, (Choices{{L"Chrome (Default)", true},
                                                      {L"Chrome (Profile 1)", false},
                                                      {L"Chrome (work;old)", false}}));
}

}  // namespace
}  // namespace purgeon
