// Other applications' traces over fakes: detection, what the keys reach (wildcard folders,
// RECURSE, REMOVESELF, exclusions, links, registry), the guards, and the area's runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "browsers/utf8_text.h"
#include "cli/command_run.h"
#include "cli/command_line.h"
#include "clean/apps_area.h"
#include "fakes/clean_rig.h"
#include "fakes/fake_trace_system.h"
#include "rules/rule_targets.h"
#include "fakes/user_folders.h"

namespace purgeon {
namespace {

using fakes::FakeFileSystem;
using fakes::kLocal;
using fakes::kRoaming;

const std::wstring kRuleFile = kRoaming + L"Purgeon\\winapp2.ini";

std::vector<unsigned char> bytes(std::size_t count) { return std::vector<unsigned char>(count, 7); }

struct AppsRig : fakes::CleanRig {
    fakes::FakeTraceSystem traces{files};
    AppRules apps{traces};

    AppsRig() {
        files.addFile(L"C:\\Users\\me\\AppData\\", L"Roaming", kAttrDirectory);
        files.addFile(L"C:\\Users\\me\\AppData\\", L"Local", kAttrDirectory);
        files.addFile(kRoaming, L"Purgeon", kAttrDirectory);
        state.apps = &apps;
    }
    void useRules(const std::string& text, const std::wstring& ticked = {}) {
        files.files[kRuleFile].content.assign(text.begin(), text.end());
        if (!ticked.empty()) settings.put(kAppsKey, ticked);
        std::vector<std::wstring> lines;
        loadAppRules(apps, cleanServices, lines);
    }
    std::vector<std::wstring> filesBelow(const std::wstring& folder) const {
        std::vector<std::wstring> found;
        for (const auto& [path, file] : files.files)
            if (path.rfind(folder, 0) == 0) found.push_back(path.substr(folder.size()));
        return found;
    }
    bool hasFolder(const std::wstring& folder) const { return files.folders.count(folder) > 0; }
};

TEST(AppsArea, CleansWhatTheTickedEntryReachesAndNothingElse) {
    AppsRig rig;
    const std::wstring editor = kRoaming + L"Editor\\";
    rig.files.addFile(editor, L"session.xml", kAttrArchive, bytes(100));
    rig.files.addFile(editor, L"a.bak", kAttrArchive, bytes(10));
    rig.files.addFile(editor, L"keep.bak", kAttrArchive, bytes(10));   // excluded as a file
    rig.files.addFile(editor, L"notes.txt", kAttrArchive, bytes(10));  // a neighbour
    rig.files.addFile(editor, L"held.bak", kAttrArchive, bytes(10));   // another program holds it
    rig.files.files[editor + L"held.bak"].locked = true;
    rig.files.addFile(editor, L"link.bak", kAttrReparsePoint);  // a file link: as itself
    // A link that looks like a plain file (a Unix link under Wine) and leads out of the folder:
    // what it leads to must not be touched, so it is left as it is.
    rig.files.addFile(editor, L"out.bak", kAttrArchive, bytes(10));
    rig.files.files[editor + L"out.bak"].reachedAs = L"C:\\Outside\\target.bak";
    rig.files.addFile(editor, L"plugins", kAttrDirectory);
    rig.files.addFile(editor + L"plugins\\", L"p.bak", kAttrArchive, bytes(10));  // excluded path
    rig.files.addFile(editor, L"sub", kAttrDirectory);
    rig.files.addFile(editor + L"sub\\", L"s.BAK", kAttrArchive, bytes(10));
    const std::wstring local = kLocal + L"Editor\\";
    rig.files.addFile(kLocal, L"Editor", kAttrDirectory);
    rig.files.addFile(local, L"backup1", kAttrDirectory);
    rig.files.addFile(local + L"backup1\\", L"LOG", kAttrArchive, bytes(5));
    rig.files.addFile(local + L"backup1\\", L"deep", kAttrDirectory);
    rig.files.addFile(local + L"backup1\\deep\\", L"CURRENT", kAttrArchive, bytes(5));
    rig.files.addFile(local, L"BackUp2", kAttrDirectory);
    rig.files.addFile(local + L"BackUp2\\", L"x [1].tmp", kAttrArchive, bytes(5));
    // A folder link that matches the wildcard: never entered, never removed.
    rig.files.addFile(local, L"backup-link", kAttrDirectory | kAttrReparsePoint);
    rig.files.addFile(local + L"backup-link\\", L"elsewhere.txt", kAttrArchive, bytes(5));
    rig.files.addFile(local, L"other", kAttrDirectory);
    rig.files.addFile(local + L"other\\", L"o.tmp", kAttrArchive, bytes(5));
    rig.traces.addValue(L"HKCU\\Software\\Editor", L"Recent");
    rig.traces.addValue(L"HKCU\\Software\\Editor", L"Settings");
    rig.traces.addValue(L"HKCU\\Software\\Editor\\MRU", L"a");
    rig.traces.addValue(L"HKCU\\Software\\Editor\\Kept", L"k");
    rig.traces.addValue(L"HKCU\\Software\\Other", L"Recent");

    rig.useRules(
        "[Editor *]\r\n"
        "Detect=HKCU\\Software\\Nothing\r\n"
        "Detect2=HKEY_CURRENT_USER\\Software\\Editor\r\n"
        "FileKey1=%AppData%\\Editor|session.xml;*.bak|RECURSE\r\n"
        "FileKey2=%LocalAppData%\\Editor\\BACKUP*|*.*|RECURSE|REMOVESELF\r\n"
        "ExcludeKey1=FILE|%AppData%\\Editor\\|keep.bak\r\n"
        "ExcludeKey2=PATH|%AppData%\\Editor\\plugins\\\r\n"
        "ExcludeKey3=REG|HKCU\\Software\\Editor\\Kept\r\n"
        "RegKey1=HKCU\\Software\\Editor|Recent\r\n"
        "RegKey2=HKCU\\Software\\Editor\\MRU\r\n"
        "RegKey3=HKCU\\Software\\Editor\\Kept|k\r\n"
        "[Other]\r\n"
        "FileKey1=%LocalAppData%\\Editor\\other|*.tmp\r\n"
        "RegKey1=HKCU\\Software\\Other|Recent\r\n",
        L"Editor *");

    const fakes::FakeFileSystem before = rig.files;
    const CleanReport preview = rig.run({&kAppsArea}, CleanMode::preview);
    EXPECT_EQ(rig.files.files.size(), before.files.size());  // a preview removes nothing
    const AreaResult& shown = preview.entries.at(0).result;
    EXPECT_EQ(shown.details, (std::vector<std::wstring>{
                                 L"Editor *: 9 files (155 bytes), 2 registry items, ticked",
                                 L"Other: 1 file (5 bytes), 1 registry item",
                             }));
    EXPECT_EQ(shown.count, 9u);

    const CleanReport report = rig.run({&kAppsArea});
    const AreaResult& result = report.entries.at(0).result;
    EXPECT_EQ(result.count, 7u);
    EXPECT_FALSE(result.done);  // the held file and the link out are left
    EXPECT_EQ(rig.filesBelow(editor),
              (std::vector<std::wstring>{L"held.bak", L"keep.bak", L"notes.txt", L"out.bak",
                                         L"plugins\\p.bak"}));
    EXPECT_EQ(rig.filesBelow(local),
              (std::vector<std::wstring>{L"backup-link\\elsewhere.txt", L"other\\o.tmp"}));
    // REMOVESELF took the emptied folders, deepest first; the folder link is still there.
    EXPECT_FALSE(rig.hasFolder(local + L"backup1\\deep\\"));
    EXPECT_FALSE(rig.hasFolder(local + L"backup1\\"));
    EXPECT_FALSE(rig.hasFolder(local + L"BackUp2\\"));
    EXPECT_TRUE(rig.hasFolder(local + L"backup-link\\"));
    EXPECT_TRUE(rig.hasFolder(editor + L"sub\\"));  // no REMOVESELF there
    // The one value, the whole key, and nothing that was kept or belongs to the unticked entry.
    EXPECT_EQ(rig.traces.values, (std::set<std::pair<std::wstring, std::wstring>>{
                                     {L"hkcu\\software\\editor", L"settings"},
                                     {L"hkcu\\software\\editor\\kept", L"k"},
                                     {L"hkcu\\software\\other", L"recent"},
                                 }));
    EXPECT_EQ(result.why,
              L"2 registry items removed from 1 entry; left: 1 in use by another program, 1 "
              L"reached through a link and left alone");
    EXPECT_NE(std::find(result.log.begin(), result.log.end(),
                        L"Applications: Editor *: 7 files and 2 registry items removed, 3 "
                        L"folders; left: 1 in use by another program, 1 reached through a link "
                        L"and left alone; in use: held.bak; 3 kept by exclusions."),
              result.log.end())
        << testing::PrintToString(result.log);
}

TEST(AppsArea, SecureWipeOverwritesOnceButOnlyUnlinksDataAnotherNameShares) {
    AppsRig rig;
    const std::wstring editor = kRoaming + L"Editor\\";
    rig.files.addFile(editor, L"a.log", kAttrArchive, bytes(100));
    rig.files.addFile(editor, L"linked.log", kAttrArchive, bytes(100));
    rig.files.files[editor + L"linked.log"].links = 2;  // a second name, outside the rule's reach
    rig.options.setCheckBox(kSecureForAllKey, 1);
    rig.useRules("[Editor]\r\nFileKey1=%AppData%\\Editor|*.log\r\n", L"Editor");

    const AreaResult result = rig.run({&kAppsArea}).entries.at(0).result;
    EXPECT_EQ(result.count, 2u);
    EXPECT_TRUE(rig.filesBelow(editor).empty());
    // One pass over the file of its own; the shared data is left to its other name.
    ASSERT_EQ(rig.files.passEnds.size(), 1u);
    EXPECT_EQ(rig.files.passEnds[0].path, editor + L"a.log");
}

TEST(AppsArea, RefusesFolderRulesThatWouldReachRootsOrTheSystemsFoldersAndRunsTheRest) {
    const char* hostile[] = {
        "%UserProfile%|*.*|RECURSE",
        "%AppData%|*.log|RECURSE",
        "%SystemDrive%\\|*.*|RECURSE",
        "%LocalAppData%|*.tmp|REMOVESELF",
        "%WinDir%|*.*",
        "%Documents%\\..\\AppData\\Local|*.*",  // steps up: read, listed, never run
        "%LocalAppData%\\..\\|*|RECURSE",
        "C:\\Users\\me\\AppData|*.tmp|RECURSE",
        "C:\\Users\\*|*.*|RECURSE",
    };
    for (const char* key : hostile) {
        AppsRig rig;
        rig.files.addFile(L"C:\\", L"root.log", kAttrArchive, bytes(1));
        rig.files.addFile(L"C:\\", L"Windows", kAttrDirectory);
        rig.files.addFile(L"C:\\Windows\\", L"win.ini", kAttrArchive, bytes(1));
        rig.files.addFile(L"C:\\", L"Users", kAttrDirectory);
        rig.files.addFile(L"C:\\Users\\", L"me", kAttrDirectory);
        rig.files.addFile(L"C:\\Users\\me\\", L"Documents", kAttrDirectory);
        rig.files.addFile(L"C:\\Users\\me\\", L"AppData", kAttrDirectory);
        rig.files.addFile(L"C:\\Users\\me\\", L"ntuser.dat", kAttrArchive, bytes(1));
        rig.files.addFile(kRoaming, L"a.log", kAttrArchive, bytes(1));
        rig.files.addFile(kLocal, L"b.tmp", kAttrArchive, bytes(1));
        rig.files.addFile(kLocal, L"App", kAttrDirectory);
        rig.files.addFile(kLocal + L"App\\", L"app.tmp", kAttrArchive, bytes(1));
        rig.useRules(
            std::string("[Hostile]\nFileKey1=") + key + "\nFileKey2=%LocalAppData%\\App|*.tmp\n",
            L"Hostile");
        ASSERT_EQ(rig.apps.book.entries.size(), 1u) << key;
        const std::vector<std::wstring> kept = rig.files.fileNames();

        // The preview lists the entry with its refusal and tells that not all of it would run.
        fakes::FakeConsole console;
        EXPECT_EQ(
            runCommandLine({L"/preview", L"apps"}, rig.cleanServices, console, {}, &rig.traces),
            kExitIncomplete)
            << key;
        const std::vector<std::wstring> shown = console.lines();
        ASSERT_GE(shown.size(), 3u) << key;
        EXPECT_EQ(shown[1],
                  L"  Hostile: 1 file (1 byte), 0 registry items, 1 rule(s) refused, ticked")
            << key;
        EXPECT_TRUE(shown[2].starts_with(L"    FileKey 1: the folder ")) << key;
        EXPECT_NE(shown[2].find(L" was refused: it"), std::wstring::npos) << key;

        // The clean runs the rest, touches nothing the refused key names and says it was
        // incomplete.
        console.text.clear();
        EXPECT_EQ(runCommandLine({L"/clean", L"apps"}, rig.cleanServices, console, {}, &rig.traces),
                  kExitIncomplete)
            << key;
        std::vector<std::wstring> expected = kept;
        std::erase(expected, kLocal + L"App\\app.tmp");
        EXPECT_EQ(rig.files.fileNames(), expected) << key;
        EXPECT_TRUE(rig.hasFolder(kLocal)) << key;
        EXPECT_NE(console.text.find(L"1 rule(s) refused; the log says why"), std::wstring::npos)
            << key;
        EXPECT_TRUE(rig.logFile.contains(L"Applications: Hostile: FileKey 1: the folder ")) << key;
    }
}

TEST(AppsArea, LeavesARunningBrowsersProfileAndTellsWhichToClose) {
    fakes::FakeFileSystem files;
    fakes::FakeSystemFolders folders;
    fakes::FakeTraceSystem traces{files};
    const std::wstring userData = kLocal + L"Google\\Chrome\\User Data\\";
    files.addFile(kLocal + L"Google\\", L"Chrome", kAttrDirectory);
    files.addFile(kLocal + L"Google\\Chrome\\", L"User Data", kAttrDirectory);
    files.addFile(userData, L"lockfile");
    files.files[userData + L"lockfile"].locked = true;
    files.addFile(userData, L"Default", kAttrDirectory);
    files.addFile(userData + L"Default\\", L"History-journal", kAttrArchive, bytes(3));
    files.addFile(userData, L"ShaderCache", kAttrDirectory);
    files.addFile(userData + L"ShaderCache\\", L"data_0", kAttrArchive, bytes(3));
    files.addFile(kLocal + L"Google\\", L"Update", kAttrDirectory);
    files.addFile(kLocal + L"Google\\Update\\", L"update.log", kAttrArchive, bytes(3));
    BrowserProfile chrome;
    chrome.browser = L"Chrome";
    chrome.name = L"Default";
    chrome.folder = userData + L"Default\\";
    chrome.cacheFolder = chrome.folder;
    chrome.lockFile = userData + L"lockfile";
    RuleScope scope(files, folders, traces, {chrome});
    const RuleBook book = parseRules("[Google]\nFileKey1=%LocalAppData%\\Google|*|RECURSE\n");
    const EntryTargets targets = resolveEntry(book.entries.at(0), scope);
    ASSERT_EQ(targets.files.size(), 1u);
    EXPECT_EQ(targets.files[0].path, kLocal + L"Google\\Update\\update.log");
    EXPECT_EQ(targets.heldBack, 3u);  // the lock file too
    EXPECT_EQ(targets.inUse, std::vector<std::wstring>{L"Close Chrome to clean it"});

    // Once the browser has ended, its files are reached like any others.
    files.files[userData + L"lockfile"].locked = false;
    RuleScope ended(files, folders, traces, {chrome});
    EXPECT_EQ(resolveEntry(book.entries.at(0), ended).files.size(), 4u);
}

TEST(AppsArea, DetectsAnEntryByAnyOneOfItsKeysAndTheWindowsVersion) {
    fakes::FakeFileSystem files;
    fakes::FakeSystemFolders folders;
    fakes::FakeTraceSystem traces{files};
    traces.addKey(L"HKLM\\Software\\Wow6432Node\\Vendor App");
    traces.addKey(L"HKCR\\Applications\\app.exe");
    files.addFile(kLocal, L"Vendor", kAttrDirectory);
    files.addFile(kLocal + L"Vendor\\", L"App 2", kAttrDirectory);
    files.addFile(kLocal + L"Vendor\\App 2\\", L"app.cfg");
    traces.version = {6, 1};
    struct Case {
        const char* keys;
        bool detected;
    };
    for (const Case& c : {
             Case{"", true},
             Case{"Detect=HKCU\\Software\\Missing", false},
             Case{"Detect1=HKCU\\Software\\Missing\nDetect2=HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                  "wow6432node\\vendor app",
                  true},
             Case{"Detect=HKCR\\Applications\\app.exe", true},
             Case{"Detect=HKU\\Applications\\app.exe", false},
             Case{"DetectFile=%LocalAppData%\\Vendor\\App*\\APP.CFG", true},
             Case{"DetectFile=%LocalAppData%\\Vendor\\App ?", true},
             Case{"DetectFile=%LocalAppData%\\Vendor\\App 3", false},
             Case{"Detect=HKCU\\Software\\Missing\nDetectFile=%LocalAppData%\\Vendor", true},
             Case{"DetectOS=6.1|", true},
             Case{"DetectOS=6.2|", false},
             Case{"DetectOS=|6.0", false},
             Case{"DetectOS=5.1|6.1\nDetect=HKCR\\Applications\\app.exe", true},
             Case{"DetectOS=6.2|\nDetect=HKCR\\Applications\\app.exe", false},
         }) {
        RuleScope scope(files, folders, traces, {});
        const RuleBook book =
            parseRules(std::string("[E]\n") + c.keys + "\nRegKey1=HKCU\\Software\\E\n");
        ASSERT_EQ(book.entries.size(), 1u) << c.keys;
        EXPECT_EQ(detectEntry(book.entries[0], scope), c.detected) << c.keys;
    }
}

TEST(AppsArea, RegistryRulesSpareSharedKeysAndWhatExclusionsKeep) {
    fakes::FakeFileSystem files;
    fakes::FakeSystemFolders folders;
    fakes::FakeTraceSystem traces{files};
    for (const wchar_t* key : {L"HKCU\\Software\\Microsoft", L"HKCU\\Software\\Vendor",
                               L"HKU\\S-1-5-21\\Software", L"HKLM\\Software\\Classes",
                               L"HKCU\\Software\\Vendor\\App", L"HKCU\\Software\\Vendor\\Kept"})
        traces.addKey(key);
    traces.addValue(L"HKCU\\Software\\Vendor\\App", L"MRU1");
    RuleScope scope(files, folders, traces, {});
    struct Case {
        const char* key;
        std::size_t reached;
        bool refused;
    };
    for (const Case& c : {
             Case{"RegKey1=HKCU\\Software\\Microsoft", 0, true},
             Case{"RegKey1=HKEY_LOCAL_MACHINE\\Software\\Classes", 0, true},
             Case{"RegKey1=HKCU\\Software", 0, true},
             Case{"RegKey1=HKU\\S-1-5-21\\Software", 0, true},
             Case{"RegKey1=HKCU\\Software\\Vendor\\App", 1, false},
             Case{"RegKey1=HKCU\\Software\\Vendor\\App|MRU1", 1, false},
             Case{"RegKey1=HKCU\\Software\\Vendor\\App|MRU2", 0, false},
             Case{"RegKey1=HKCU\\Software\\Vendor", 0, false},  // it holds the kept key
             Case{"RegKey1=HKCU\\Software\\Vendor\\Kept", 0, false},
         }) {
        const RuleBook book = parseRules(std::string("[E]\n") + c.key +
                                         "\nExcludeKey1=REG|HKCU\\Software\\Vendor\\Kept\n");
        ASSERT_EQ(book.entries.size(), 1u) << c.key;
        const EntryTargets targets = resolveEntry(book.entries[0], scope);
        EXPECT_EQ(targets.registry.size(), c.reached) << c.key;
        EXPECT_EQ(!targets.refused.empty(), c.refused) << c.key;
    }
}

TEST(AppsArea, CommandLinePreviewListsDetectedEntriesAndCleanTakesOnlyTheTickedOnes) {
    AppsRig rig;
    rig.files.addFile(kRoaming, L"A", kAttrDirectory);
    rig.files.addFile(kRoaming + L"A\\", L"a.log", kAttrArchive, bytes(12700));
    rig.files.addFile(kRoaming, L"B", kAttrDirectory);
    rig.files.addFile(kRoaming + L"B\\", L"b.log", kAttrArchive, bytes(1));
    const std::string rules =
        "[App A *]\nFileKey1=%AppData%\\A|*.log\n"
        "[App B]\nFileKey1=%AppData%\\B|*.log\n"
        "[Not here]\nDetect=HKCU\\Software\\Nothing\nFileKey1=%AppData%\\B|*.log\n";
    rig.files.files[kRuleFile].content.assign(rules.begin(), rules.end());
    rig.settings.put(kAppsKey, L"App B|Gone entry");
    fakes::FakeConsole console;
    EXPECT_EQ(runCommandLine({L"/preview", L"apps"}, rig.cleanServices, console, {}, &rig.traces),
              0);
    EXPECT_EQ(console.lines(),
              (std::vector<std::wstring>{
                  L"Applications: 1 file (1 byte) would be removed; 0 registry items; 2 entries "
                  L"detected, 1 ticked.",
                  L"  App A *: 1 file (12.4 KB), 0 registry items",
                  L"  App B: 1 file (1 byte), 0 registry items, ticked",
                  L"Nothing was removed.",
              }));
    console.text.clear();
    EXPECT_EQ(runCommandLine({L"/clean", L"apps"}, rig.cleanServices, console, {}, &rig.traces), 0);
    EXPECT_TRUE(rig.files.files.count(kRoaming + L"A\\a.log"));
    EXPECT_FALSE(rig.files.files.count(kRoaming + L"B\\b.log"));
}

TEST(AppsArea, GetRulesWritesADownloadedRuleFileBesideTheSettingsOnlyWhenItHoldsEntries) {
    const std::string good =
        "[A]\r\nFileKey1=%Temp%\\a|*.log\r\n[B]\r\nRegKey1=HKCU\\Software\\B\r\n";
    struct Case {
        const char* what;
        std::optional<std::string> published;
        long failure;
        std::wstring storedUrl;
        bool written;
        const wchar_t* why;  // found in the reason when nothing was written
    };
    for (const Case& c : {
             Case{"a rule file", good, 0, L"", true, L""},
             Case{"from the stored address", good, 0, L"http://127.0.0.1/r.ini", true, L""},
             Case{"a page that is no rule file", std::string("<html>Not found</html>"), 0, L"",
                  false, L"holds no entry"},
             Case{"too large", std::string(8 * 1024 * 1024 + 1, 'x'), 0, L"", false,
                  L"larger than 8 MiB"},
             Case{"no answer", good, kErrorTimeout, L"", false, L"could not be downloaded"},
         }) {
        AppsRig rig;
        fakes::FakeDownloader downloader;
        downloader.published = c.published;
        downloader.failure = c.failure;
        if (!c.storedUrl.empty()) rig.settings.put(kRulesUrlKey, c.storedUrl);
        rig.files.addFile(kRoaming + L"Purgeon\\", L"winapp2.ini", kAttrArchive, {'o', 'l', 'd'});
        std::vector<std::wstring> lines;
        const RulesFetch fetch = fetchRules(rig.apps, downloader, rig.cleanServices, lines);
        EXPECT_EQ(downloader.urls,
                  std::vector<std::wstring>{c.storedUrl.empty() ? kDefaultRulesUrl : c.storedUrl})
            << c.what;
        EXPECT_EQ(downloader.limits.at(0), std::make_pair(kRulesDownloadCap, kRulesDownloadSeconds))
            << c.what;
        EXPECT_EQ(fetch.written, c.written) << c.what;
        const std::vector<unsigned char>& content = rig.files.files[kRuleFile].content;
        if (c.written) {
            EXPECT_EQ(fetch.entries, 2u) << c.what;
            EXPECT_EQ(std::string(content.begin(), content.end()), good) << c.what;
            EXPECT_TRUE(rig.apps.found) << c.what;
        } else {
            EXPECT_EQ(std::string(content.begin(), content.end()), "old") << c.what;
            EXPECT_NE(fetch.why.find(c.why), std::wstring::npos) << c.what;
        }
    }
}

}  // namespace
}  // namespace purgeon
