// The Applications tab's behaviour over fakes: rows by section, the Warning before a tick, the
// stored ticks, the preview, the clean's summary, and "Get rules..." when there is no rule file.
#include <gtest/gtest.h>

#include "app/applications_tab.h"
#include "fakes/clean_rig.h"
#include "fakes/program_rig.h"
#include "fakes/fake_trace_system.h"

namespace purgeon {
namespace {

const std::wstring kRoaming = L"C:\\Users\\me\\AppData\\Roaming\\";

class RecordingView : public ApplicationsView {
public:
    void showRows(const std::vector<AppRow>& shown) override { rows = shown; }
    void showNoRules(const std::wstring& text) override { noRules = text; }
    void showPreview(const std::vector<std::wstring>& lines) override { preview = lines; }
    std::vector<AppRow> rows;
    std::wstring noRules;
    std::vector<std::wstring> preview;
};

struct TabRig : fakes::CleanRig {
    fakes::FakeTraceSystem traces{files};
    AppRules apps{traces};
    fakes::FakeDialogs dialogs;
    fakes::FakeDownloader downloader;
    RecordingView view;
    ApplicationsTab tab{context, dialogs, downloader, view};

    static constexpr char kRules[] =
        "[Zed Player]\r\nSection=Players\r\nFileKey1=%AppData%\\Zed|*.log\r\n"
        "[Ann Editor]\r\nSection=Editors\r\nWarning=Your open tabs go too.\r\n"
        "FileKey1=%AppData%\\Ann|*.bak\r\nRegKey1=HKCU\\Software\\Ann|MRU\r\n"
        "[Bob Editor]\r\nSection=Editors\r\nFileKey1=%AppData%\\Bob|*.bak\r\n";

    TabRig() {
        state.apps = &apps;
        files.addFile(L"C:\\Users\\me\\AppData\\", L"Roaming", kAttrDirectory);
        for (const wchar_t* app : {L"Zed", L"Ann", L"Bob"})
            files.addFile(kRoaming, app, kAttrDirectory);
        files.addFile(kRoaming + L"Zed\\", L"z.log", kAttrArchive,
                      std::vector<unsigned char>(2048, 1));
        files.addFile(kRoaming + L"Ann\\", L"a.bak", kAttrArchive, {1, 2, 3});
        files.addFile(kRoaming + L"Bob\\", L"b.bak", kAttrArchive, {1});
        traces.addValue(L"HKCU\\Software\\Ann", L"MRU");
    }
    void writeRules() {
        files.addFile(kRoaming, L"Purgeon", kAttrDirectory);
        const std::string text = kRules;
        files.addFile(kRoaming + L"Purgeon\\", L"winapp2.ini", kAttrArchive,
                      std::vector<unsigned char>(text.begin(), text.end()));
    }
};

TEST(ApplicationsTab, ShowsTheDetectedEntriesBySectionAndTicksOnlyWhatTheUserTicks) {
    TabRig rig;
    rig.writeRules();
    rig.tab.refresh();
    EXPECT_EQ(rig.operations.activities,
              std::vector<std::wstring>{L"counting applications' traces"});
    EXPECT_EQ(rig.view.rows, (std::vector<AppRow>{
                                 {L"Editors", L"Ann Editor", 1, 3, 1, false},
                                 {L"Editors", L"Bob Editor", 1, 1, 0, false},
                                 {L"Players", L"Zed Player", 1, 2048, 0, false},
                             }));

    // The Warning comes first; "No" leaves the entry unticked and stores nothing.
    rig.dialogs.answers = {kIdNo, kIdYes};
    rig.tab.tick(0, true);
    EXPECT_FALSE(rig.tab.rows()[0].ticked);
    EXPECT_TRUE(rig.settings.written.empty());
    rig.tab.tick(0, true);
    rig.tab.tick(2, true);
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1].text,
              L"Ann Editor:\n\nYour open tabs go too.\n\nTick it all the same?");
    EXPECT_EQ(rig.dialogs.shown[1].style, kMbYesNo | kMbIconExclamation);
    EXPECT_EQ(rig.settings.written.back(), L"apps=Ann Editor|Zed Player");
    rig.tab.tick(2, false);
    EXPECT_EQ(rig.settings.written.back(), L"apps=Ann Editor");

    rig.tab.preview(0);
    EXPECT_EQ(rig.view.preview, (std::vector<std::wstring>{
                                    kRoaming + L"Ann\\a.bak (3 bytes)",
                                    L"HKCU\\Software\\Ann | MRU",
                                }));

    rig.tab.clean();
    EXPECT_FALSE(rig.files.files.count(kRoaming + L"Ann\\a.bak"));
    EXPECT_TRUE(rig.files.files.count(kRoaming + L"Bob\\b.bak"));
    EXPECT_TRUE(rig.files.files.count(kRoaming + L"Zed\\z.log"));
    EXPECT_EQ(rig.dialogs.shown.back().text,
              L"Applications: 1 file(s) (3 bytes) removed; 1 registry item removed from 1 entry.");
    // Counted afresh afterwards: the entry has nothing left.
    EXPECT_EQ(rig.view.rows[0], (AppRow{L"Editors", L"Ann Editor", 0, 0, 0, true}));
}

TEST(ApplicationsTab, WithoutARuleFileSaysWhereToPutOneAndGetRulesFetchesIt) {
    TabRig rig;
    rig.tab.refresh();
    EXPECT_EQ(rig.view.noRules,
              L"There is no rule file. Put one in the winapp2.ini format at " + kRoaming +
                  L"Purgeon\\winapp2.ini, or get the current one with \"Get rules...\".");
    EXPECT_TRUE(rig.view.rows.empty());

    rig.downloader.failure = kErrorTimeout;
    rig.tab.getRules();
    EXPECT_EQ(rig.dialogs.shown.back().style, kMbOk | kMbIconExclamation);
    EXPECT_TRUE(rig.view.rows.empty());

    rig.downloader.failure = 0;
    rig.downloader.published = TabRig::kRules;
    rig.tab.getRules();
    EXPECT_EQ(rig.dialogs.shown.back().text, L"3 entries read.");
    EXPECT_EQ(rig.view.rows.size(), 3u);
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

}  // namespace
}  // namespace purgeon
