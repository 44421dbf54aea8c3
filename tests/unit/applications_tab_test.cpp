// The Applications tab's behaviour over fakes: rows by section, the Warning before a tick, the
// stored ticks, the preview, the clean's summary, "Get rules..." when there is no rule file, and
// the listing off the window's thread that reads the rule file again only when it changed.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/applications_tab.h"
#include "clean/windows_items.h"
#include "fakes/clean_rig.h"
#include "fakes/fake_trace_system.h"
#include "fakes/fake_windows_traces.h"
#include "fakes/fake_windows.h"
#include "fakes/program_rig.h"
#include "fakes/user_folders.h"

namespace purgeon {
namespace {

using fakes::kRoaming;

struct TabRig : fakes::CleanRig {
    fakes::FakeTraceSystem traces{files};
    AppRules apps{traces};
    fakes::FakeDialogs dialogs;
    fakes::FakeDownloader downloader;
    fakes::RecordingApplicationsView view;
    ApplicationsTab tab{context, dialogs, downloader, view, std::make_unique<InlineListing>()};

    static constexpr char kRules[] =
        "[Zed Player]\r\nSection=Players\r\nFileKey1=%AppData%\\Zed|*.log\r\n"
        "[Ann Editor]\r\nSection=Editors\r\nWarning=Your open tabs go too.\r\n"
        "FileKey1=%AppData%\\Ann|*.bak\r\nRegKey1=HKCU\\Software\\Ann|MRU\r\n"
        "[Bob Editor]\r\nSection=Editors\r\nFileKey1=%AppData%\\Bob|*.bak\r\n";

    TabRig() {
        state.apps = &apps;
        apps.readOnRun = true;  // as the windowed program reads them
        addAppFiles(files);
        traces.addValue(L"HKCU\\Software\\Ann", L"MRU");
    }
    static void addAppFiles(fakes::FakeFileSystem& files) {
        files.addFile(L"C:\\Users\\me\\AppData\\", L"Roaming", kAttrDirectory);
        for (const wchar_t* app : {L"Zed", L"Ann", L"Bob"})
            files.addFile(kRoaming, app, kAttrDirectory);
        files.addFile(kRoaming + L"Zed\\", L"z.log", kAttrArchive,
                      std::vector<unsigned char>(2048, 1));
        files.addFile(kRoaming + L"Ann\\", L"a.bak", kAttrArchive, {1, 2, 3});
        files.addFile(kRoaming + L"Bob\\", L"b.bak", kAttrArchive, {1});
    }
    static void writeRules(fakes::FakeFileSystem& files, const std::string& text = kRules) {
        files.addFile(kRoaming, L"Purgeon", kAttrDirectory);
        files.addFile(kRoaming + L"Purgeon\\", L"winapp2.ini", kAttrArchive,
                      std::vector<unsigned char>(text.begin(), text.end()));
    }
    void writeRules() { writeRules(files); }
};

TEST(ApplicationsTab, ShowsTheDetectedEntriesBySectionAndTicksOnlyWhatTheUserTicks) {
    TabRig rig;
    rig.writeRules();
    rig.settings.put(kAppsKey, L"Gone App");  // ticked once, not detected now: kept
    rig.tab.refresh();
    EXPECT_EQ(rig.view.rows, (std::vector<AppRow>{
                                 {L"Editors", L"Ann Editor", 1, 3, 1, false, {}, true},
                                 {L"Editors", L"Bob Editor", 1, 1, 0, false, {}, true},
                                 {L"Players", L"Zed Player", 1, 2048, 0, false, {}, true},
                             }));
    EXPECT_EQ(rig.view.ruleText, L"Rules: " + kRoaming +
                                     L"Purgeon\\winapp2.ini (3 entries, 3 detected on this "
                                     L"computer).");
    EXPECT_FALSE(rig.view.offerRules);

    // The Warning comes first; "No" leaves the entry unticked and stores nothing.
    rig.dialogs.answers = {kIdNo, kIdYes};
    rig.tab.tick(0, true);
    EXPECT_FALSE(rig.tab.rows()[0].ticked);
    EXPECT_FALSE(rig.view.rows[0].ticked);
    EXPECT_TRUE(rig.settings.written.empty());
    rig.tab.tick(0, true);
    EXPECT_TRUE(rig.view.rows[0].ticked);
    rig.tab.tick(2, true);
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1].text,
              L"Ann Editor:\n\nYour open tabs go too.\n\nTick it all the same?");
    EXPECT_EQ(rig.dialogs.shown[1].style, kMbYesNo | kMbIconExclamation);
    EXPECT_EQ(rig.settings.written.back(), L"apps=Gone App|Ann Editor|Zed Player");
    rig.tab.tick(2, false);
    EXPECT_EQ(rig.settings.written.back(), L"apps=Gone App|Ann Editor");

    rig.tab.preview(0);
    EXPECT_EQ(rig.dialogs.shown.back().text, L"Ann Editor removes:\r\n\r\n" + kRoaming +
                                                 L"Ann\\a.bak (3 bytes)\r\n"
                                                 L"HKCU\\Software\\Ann | MRU");
    rig.tab.preview(99);
    EXPECT_EQ(rig.dialogs.shown.back().text,
              L"Select an entry in the list to see what it removes.");

    rig.tab.setAutomatic(true);
    EXPECT_EQ(rig.settings.written.back(), L"autoapps=1");

    rig.tab.clean();
    EXPECT_FALSE(rig.files.files.count(kRoaming + L"Ann\\a.bak"));
    EXPECT_TRUE(rig.files.files.count(kRoaming + L"Bob\\b.bak"));
    EXPECT_TRUE(rig.files.files.count(kRoaming + L"Zed\\z.log"));
    EXPECT_FALSE(rig.traces.values.count({L"hkcu\\software\\ann", L"mru"}));
    EXPECT_EQ(rig.dialogs.shown.back().text,
              L"Freed 3 bytes\r\n\r\nApplications: 1 file removed, 3 bytes; 1 registry item "
              L"removed from 1 entry");
    EXPECT_EQ(rig.dialogs.shown.back().style, kMbOk | kMbIconInformation);
    // Listed afresh afterwards: the entry has nothing left; the stored ticks show again.
    EXPECT_EQ(rig.view.rows[0], (AppRow{L"Editors", L"Ann Editor", 0, 0, 0, true, {}, true}));
    EXPECT_TRUE(rig.view.automatic);
}

TEST(ApplicationsTab, WithoutARuleFileSaysWhereToPutOneAndGetRulesFetchesIt) {
    TabRig rig;
    rig.tab.refresh();
    EXPECT_EQ(rig.view.ruleText,
              L"There is no rule file. Put one in the winapp2.ini format at " + kRoaming +
                  L"Purgeon\\winapp2.ini, or get the current one with \"Get rules...\".");
    EXPECT_TRUE(rig.view.offerRules);
    EXPECT_TRUE(rig.view.rows.empty());
    rig.tab.clean();
    EXPECT_EQ(rig.dialogs.shown.back().text, L"No entry is ticked.");

    rig.downloader.failure = kErrorTimeout;
    rig.tab.getRules();
    EXPECT_EQ(rig.dialogs.shown.back().style, kMbOk | kMbIconExclamation);
    EXPECT_TRUE(rig.view.rows.empty());

    rig.downloader.failure = 0;
    rig.downloader.published = TabRig::kRules;
    rig.tab.getRules();
    EXPECT_EQ(rig.operations.activities,
              (std::vector<std::wstring>{L"getting rules", L"getting rules"}));
    EXPECT_EQ(rig.dialogs.shown.back().text, L"3 entries read.");
    EXPECT_EQ(rig.view.rows.size(), 3u);
    EXPECT_FALSE(rig.view.offerRules);
}

// The tab lists when it is shown, off the window's thread: nothing shows until the listing hands
// its rows, "Listing..." meanwhile. The rule file is parsed again only when its content changed.
TEST(ApplicationsTab, ListsWhenShownAndReadsTheRuleFileAgainOnlyWhenItChanged) {
    fakes::ProgramRig rig;
    fakes::FakeTraceSystem traces{rig.files};
    rig.program.useTraces(traces);
    TabRig::addAppFiles(rig.files);
    TabRig::writeRules(rig.files);
    rig.windows.holdListings = true;
    FrmMain& main = rig.loadMain();
    const auto reads = [&] {
        return std::count_if(rig.logFile.lines.begin(), rig.logFile.lines.end(),
                             [](const std::wstring& line) {
                                 return line.find(L"entries read from") != std::wstring::npos;
                             });
    };
    const std::vector<AppRow>& rows = rig.mainView().applications.rows;

    main.selectTab(kTabApplications);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(main.statusText(), L"Listing...");
    rig.windows.runHeldListings();
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(main.statusText(), L"");
    EXPECT_EQ(reads(), 1);

    main.selectTab(kTabGeneral);
    main.selectTab(kTabApplications);
    rig.windows.runHeldListings();
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(reads(), 1);  // unchanged: not parsed again

    TabRig::writeRules(
        rig.files, std::string(TabRig::kRules) + "[Cy Tool]\r\nFileKey1=%AppData%\\Cy|*.log\r\n");
    main.selectTab(kTabGeneral);
    main.selectTab(kTabApplications);
    rig.windows.runHeldListings();
    EXPECT_EQ(reads(), 2);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (AppRow{L"", L"Cy Tool", 0, 0, 0, false, {}, true}));
}

// "Clean applications automatically": the start and exit runs take the ticked entries, read
// afresh from the rule file, and only when the option is stored.
TEST(ApplicationsTab, TheAutomaticRunsTakeTheTickedEntriesOnlyWhenAutoappsIsStored) {
    for (const bool automatic : {false, true}) {
        fakes::ProgramRig rig;
        fakes::FakeTraceSystem traces{rig.files};
        rig.files.addFile(L"C:\\Users\\me\\AppData\\", L"Roaming", kAttrDirectory);
        rig.files.addFile(kRoaming, L"Zed", kAttrDirectory);
        rig.files.addFile(kRoaming + L"Zed\\", L"z.log", kAttrArchive, {1});
        rig.files.addFile(kRoaming, L"Purgeon", kAttrDirectory);
        const std::string text = TabRig::kRules;
        rig.files.addFile(kRoaming + L"Purgeon\\", L"winapp2.ini", kAttrArchive,
                          std::vector<unsigned char>(text.begin(), text.end()));
        rig.settings.put(kAppsKey, L"Zed Player");
        if (automatic) rig.settings.put(kAutoAppsKey, L"1");
        rig.program.useTraces(traces);
        const StoredOptions options;
        rig.program.runAutoClean([](const std::wstring&) {}, options);
        EXPECT_EQ(rig.files.files.count(kRoaming + L"Zed\\z.log"), automatic ? 0u : 1u)
            << automatic;
    }
}

// The Windows group stands first, with a rule file or without one. Its ticks are stored in
// "windows" (the Warning first), its preview names what is remembered, "Clean Applications"
// takes the ticked items, and so do the automatic runs.
TEST(ApplicationsTab, TheWindowsGroupStandsFirstAndItsTicksAreItsOwn) {
    const std::wstring runBox =
        L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    TabRig rig;
    fakes::FakeWindowsTraces system;
    WindowsItems windows{rig.traces, system};
    rig.state.windows = &windows;
    rig.traces.addText(runBox, L"a", L"notepad\\1");
    rig.traces.addText(runBox, L"MRUList", L"a");
    system.clipboard = {1, 5, 0, false};
    rig.tab.refresh();
    ASSERT_EQ(rig.view.rows.size(), 12u);
    EXPECT_EQ(rig.view.rows[2],
              (AppRow{L"Windows", L"Run and search history", 0, 0, 2, false, {}, true}));
    EXPECT_EQ(rig.view.rows[7],
              (AppRow{L"Windows", L"Clipboard", 0, 0, 0, false, L"text of 5 characters", false}));
    EXPECT_EQ(rig.view.rows[8],
              (AppRow{L"Windows", L"DNS cache", 0, 0, 0, false, L"not counted", false}));

    rig.dialogs.answers = {kIdNo};
    rig.tab.tick(1, true);  // Jump lists: its Warning, answered No
    EXPECT_FALSE(rig.view.rows[1].ticked);
    EXPECT_NE(rig.dialogs.shown.back().text.find(L"pinned"), std::wstring::npos);
    rig.tab.tick(2, true);
    rig.tab.tick(7, true);
    EXPECT_EQ(rig.settings.written,
              (std::vector<std::wstring>{L"windows=Run and search history",
                                         L"windows=Run and search history|Clipboard"}));
    rig.tab.preview(2);
    EXPECT_EQ(rig.dialogs.shown.back().text,
              L"Run and search history: 0 files (0 bytes), 2 registry items\r\n"
              L"  remembers: notepad.");

    rig.writeRules();
    rig.tab.refresh();
    ASSERT_EQ(rig.view.rows.size(), 15u);
    EXPECT_TRUE(rig.view.rows[2].ticked);
    EXPECT_EQ(rig.view.rows[12].name, L"Ann Editor");
    rig.tab.clean();
    EXPECT_EQ(rig.traces.values,
              (std::set<std::pair<std::wstring, std::wstring>>{{L"hkcu\\software\\ann", L"mru"}}));
    EXPECT_EQ(system.log, std::vector<std::wstring>{L"empty clipboard"});
    EXPECT_EQ(rig.dialogs.shown.back().text,
              L"Freed 0 bytes\r\n\r\nWindows: 3 items removed, 0 bytes; from 2 items");

    fakes::ProgramRig program;
    fakes::FakeTraceSystem traces{program.files};
    program.settings.put(kWindowsKey, L"Clipboard");
    program.program.useTraces(traces, &system);
    system.clipboard = {1, 5, 0, false};
    program.program.runAutoClean([](const std::wstring&) {}, StoredOptions{});
    EXPECT_EQ(system.log, (std::vector<std::wstring>{L"empty clipboard", L"empty clipboard"}));
}

}  // namespace
}  // namespace purgeon
