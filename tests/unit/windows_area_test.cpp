// What Windows itself remembers, over fakes and the built-in rules as shipped: what each item's
// preview names and counts, the clean of the ticked items only, decoys beside them kept, the
// items for administrators, the clipboard and the resolver's cache, and the command line.
#include <gtest/gtest.h>

#include "cli/command_run.h"
#include "clean/windows_area.h"
#include "fakes/clean_rig.h"
#include "fakes/fake_trace_system.h"
#include "fakes/fake_windows_traces.h"
#include "fakes/user_folders.h"
#include "rules/remembered_names.h"

namespace purgeon {
namespace {

using fakes::kLocal;
using fakes::kRoaming;
using Lines = std::vector<std::wstring>;

const std::wstring kExplorer = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kShell = L"HKCU\\Software\\Microsoft\\Windows\\Shell";
const std::wstring kLocalShell =
    L"HKCU\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell";
const std::wstring kRecent = kRoaming + L"Microsoft\\Windows\\Recent\\";
const std::wstring kUserAssist =
    kExplorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";

// UTF-16 text with its NUL, then whatever binary data follows it.
std::vector<unsigned char> utf16(const std::wstring& text, std::vector<unsigned char> after = {}) {
    std::vector<unsigned char> bytes;
    for (const wchar_t c : text + L'\0') {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    bytes.insert(bytes.end(), after.begin(), after.end());
    return bytes;
}

// A shell item list as the Open and Save lists keep it: its first unit is a size, not text.
const std::vector<unsigned char> kItemList = {0x14, 0x00, 0x1F, 0x50, 0xE0, 0x4F, 0, 0};

struct WindowsRig : fakes::CleanRig {
    fakes::FakeTraceSystem traces{files};
    fakes::FakeWindowsTraces system;
    WindowsItems items{traces, system};

    WindowsRig() { state.windows = &items; }

    // A file and every folder above it.
    void plant(const std::wstring& path, std::size_t size) {
        std::size_t slash = path.find(L'\\');
        while (true) {
            const std::size_t next = path.find(L'\\', slash + 1);
            const std::wstring folder = path.substr(0, slash + 1);
            const std::wstring name = path.substr(slash + 1, next - slash - 1);
            if (next == std::wstring::npos) {
                files.addFile(folder, name, kAttrArchive, std::vector<unsigned char>(size, 7));
                return;
            }
            if (!files.folders.count(folder + name + L"\\"))
                files.addFile(folder, name, kAttrDirectory);
            slash = next;
        }
    }
    void binary(const std::wstring& key, const std::wstring& name,
                std::vector<unsigned char> data) {
        traces.addValue(key, name, kRegBinary, std::move(data));
    }

    // Traces of every item, each with decoys beside it.
    void layOut() {
        plant(kRecent + L"report.docx.lnk", 100);
        plant(kRecent + L"notes.txt.lnk", 80);
        plant(kRecent + L"desktop.ini", 20);
        binary(kExplorer + L"\\RecentDocs", L"0", utf16(L"report.docx", kItemList));
        binary(kExplorer + L"\\RecentDocs", L"1", utf16(L"notes.txt", kItemList));
        binary(kExplorer + L"\\RecentDocs", L"MRUListEx",
               {1, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255});
        traces.addText(kExplorer + L"\\RecentDocs", L"Pinned", L"kept");
        binary(kExplorer + L"\\RecentDocs\\.docx", L"0", utf16(L"report.docx", kItemList));
        binary(kExplorer + L"\\RecentDocs\\.docx", L"MRUListEx", {0, 0, 0, 0, 255, 255, 255, 255});
        plant(kRecent + L"AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms", 500);
        plant(kRecent + L"AutomaticDestinations\\notes.txt", 5);
        plant(kRecent + L"CustomDestinations\\28c8b86deab549a1.customDestinations-ms", 300);
        traces.addText(kExplorer + L"\\RunMRU", L"a", L"notepad\\1");
        traces.addText(kExplorer + L"\\RunMRU", L"b", L"cmd /k echo hi\\1");
        traces.addText(kExplorer + L"\\RunMRU", L"MRUList", L"ba");
        traces.addText(kExplorer + L"\\RunMRU", L"Keep", L"kept");
        traces.addText(kExplorer + L"\\TypedPaths", L"url1", L"C:\\Plans");
        traces.addText(kExplorer + L"\\TypedPaths", L"urlMain", L"kept");
        binary(kExplorer + L"\\WordWheelQuery", L"0", utf16(L"budget"));
        binary(kExplorer + L"\\WordWheelQuery", L"MRUListEx", {0, 0, 0, 0, 255, 255, 255, 255});
        const std::wstring dialogs = kExplorer + L"\\ComDlg32";
        binary(dialogs + L"\\OpenSavePidlMRU\\txt", L"0", kItemList);
        binary(dialogs + L"\\OpenSavePidlMRU\\txt", L"MRUListEx", {0, 0, 0, 0, 255, 255, 255, 255});
        binary(dialogs + L"\\LastVisitedPidlMRU", L"0", utf16(L"notepad.exe", kItemList));
        binary(dialogs + L"\\LastVisitedPidlMRU", L"MRUListEx", {0, 0, 0, 0, 255, 255, 255, 255});
        traces.addText(dialogs, L"Kept", L"kept");
        plant(kLocal + L"Microsoft\\Windows\\Explorer\\thumbcache_256.db", 1024);
        plant(kLocal + L"Microsoft\\Windows\\Explorer\\iconcache_32.db", 10);
        binary(kUserAssist + L"\\Count", rot13(L"C:\\Tools\\editor.exe"),
               std::vector<unsigned char>(72, 1));
        binary(kUserAssist + L"\\Count", rot13(L"UEME_CTLSESSION"),
               std::vector<unsigned char>(72, 2));
        traces.addText(kUserAssist, L"Version", L"kept");
        traces.addKey(kShell + L"\\Bags\\1\\Shell");
        traces.addKey(kShell + L"\\Bags\\2\\Shell");
        traces.addKey(kShell + L"\\Bags\\AllFolders\\Shell");
        binary(kShell + L"\\BagMRU", L"0", kItemList);
        traces.addKey(kLocalShell + L"\\Bags\\7\\Shell");
        traces.addText(kShell, L"Kept", L"kept");
        system.clipboard = {2, 42, 0, false};
        plant(kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer", 200);
        plant(kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\kept.txt", 5);
        plant(L"C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\Critical_y\\Report.wer",
              150);
        plant(L"C:\\Windows\\MEMORY.DMP", 4000);
        plant(L"C:\\Windows\\Minidump\\a.dmp", 96);
        plant(L"C:\\Windows\\win.ini", 5);
        plant(L"C:\\Windows\\Prefetch\\NOTEPAD.EXE-1234ABCD.pf", 300);
        plant(L"C:\\Windows\\Prefetch\\Layout.ini", 5);
    }
};

TEST(WindowsArea, ThePreviewNamesWhatEachItemRemembersAndTheCleanTakesOnlyTheTicked) {
    WindowsRig rig;
    rig.layOut();
    rig.settings.put(kWindowsKey,
                     L"Recent documents|Run and search history|Folder views|Clipboard|Memory "
                     L"dumps|Gone item");
    const fakes::FakeFileSystem before = rig.files;
    const CleanReport preview = rig.run({&kWindowsArea}, CleanMode::preview);
    EXPECT_EQ(rig.files.files.size(), before.files.size());
    const AreaResult& shown = preview.entries.at(0).result;
    EXPECT_EQ(shown.details,
              (Lines{
                  L"Recent documents: 2 files (180 bytes), 5 registry items, ticked",
                  L"  remembers: report.docx, notes.txt",
                  L"Jump lists: 2 files (800 bytes), 0 registry items",
                  L"Run and search history: 0 files (0 bytes), 6 registry items, ticked",
                  L"  remembers: notepad, cmd /k echo hi, C:\\Plans, budget",
                  L"Open and Save history: 0 files (0 bytes), 4 registry items",
                  L"  remembers: notepad.exe",
                  L"Thumbnail cache: 1 file (1.0 KB), 0 registry items",
                  L"Program usage: 0 files (0 bytes), 2 registry items",
                  L"  remembers: editor.exe",
                  L"Folder views: 0 files (0 bytes), 3 registry items, ticked",
                  L"  3 folders with remembered views",
                  L"Clipboard: holds text of 42 characters, ticked",
                  L"DNS cache: not counted: Windows offers no documented way to read it",
                  L"Error reports: 2 files (350 bytes), 0 registry items",
                  L"Memory dumps: 2 files (4.0 KB), 0 registry items, ticked",
                  L"Prefetch: 1 file (300 bytes), 0 registry items",
              }));
    EXPECT_EQ(shown.count, 2u + 5u + 6u + 3u + 1u + 2u);
    EXPECT_EQ(shown.bytes, 180u + 4096u);
    EXPECT_EQ(shown.why, L"5 of 12 items ticked");

    const CleanReport report = rig.run({&kWindowsArea});
    const AreaResult& result = report.entries.at(0).result;
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.count, 2u + 5u + 6u + 3u + 1u + 2u);
    EXPECT_EQ(result.why, L"from 5 items");
    // What was not ticked, and every decoy, is as it was.
    std::vector<std::wstring> left;
    for (const auto& [path, file] : rig.files.files) left.push_back(path);
    EXPECT_EQ(left,
              (Lines{
                  L"C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\Critical_y\\Report.wer",
                  kLocal + L"Microsoft\\Windows\\Explorer\\iconcache_32.db",
                  kLocal + L"Microsoft\\Windows\\Explorer\\thumbcache_256.db",
                  kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
                  kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\kept.txt",
                  kRecent + L"AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms",
                  kRecent + L"AutomaticDestinations\\notes.txt",
                  kRecent + L"CustomDestinations\\28c8b86deab549a1.customDestinations-ms",
                  kRecent + L"desktop.ini",
                  L"C:\\Windows\\Prefetch\\Layout.ini",
                  L"C:\\Windows\\Prefetch\\NOTEPAD.EXE-1234ABCD.pf",
                  L"C:\\Windows\\win.ini",
              }));
    const auto valueThere = [&](const std::wstring& key, const std::wstring& name) {
        return rig.traces.values.count(
                   {fakes::FakeTraceSystem::lower(key), fakes::FakeTraceSystem::lower(name)}) > 0;
    };
    for (const auto& [key, name] : std::vector<std::pair<std::wstring, std::wstring>>{
             {kExplorer + L"\\RecentDocs", L"Pinned"},
             {kExplorer + L"\\RunMRU", L"Keep"},
             {kExplorer + L"\\TypedPaths", L"urlMain"},
             {kShell, L"Kept"},
             {kUserAssist, L"Version"}})
        EXPECT_TRUE(valueThere(key, name)) << testing::PrintToString(key + L"|" + name);
    for (const auto& [key, name] : std::vector<std::pair<std::wstring, std::wstring>>{
             {kExplorer + L"\\RecentDocs", L"0"},
             {kExplorer + L"\\RecentDocs\\.docx", L"MRUListEx"},
             {kExplorer + L"\\RunMRU", L"a"},
             {kExplorer + L"\\WordWheelQuery", L"0"}})
        EXPECT_FALSE(valueThere(key, name)) << testing::PrintToString(key + L"|" + name);
    // The keys the values were in stay; the folder views' keys go whole, as the item says.
    EXPECT_TRUE(
        rig.traces.keys.count(fakes::FakeTraceSystem::lower(kExplorer + L"\\RecentDocs\\.docx")));
    EXPECT_FALSE(rig.traces.keys.count(fakes::FakeTraceSystem::lower(kShell + L"\\Bags")));
    EXPECT_FALSE(rig.traces.keys.count(fakes::FakeTraceSystem::lower(kLocalShell + L"\\Bags")));
    EXPECT_EQ(rig.system.log, Lines{L"empty clipboard"});
    // The log counts; it names no removed file.
    EXPECT_TRUE(
        rig.logFile.contains(L"Windows: Recent documents: 2 files and 5 registry items removed."));
    EXPECT_TRUE(rig.logFile.contains(L"Windows: Clipboard: emptied."));
    EXPECT_FALSE(rig.logFile.contains(L"report.docx"));
}

// Without administrator rights the items for administrators are refused, the machine's error
// reports are left out, and a run with one of them ticked is not done.
TEST(WindowsArea, WithoutAdministratorRightsTheMachinesItemsAreRefusedOnTheCommandLine) {
    WindowsRig rig;
    rig.layOut();
    rig.traces.admin = false;
    rig.settings.put(kWindowsKey, L"Error reports|Prefetch");
    fakes::FakeConsole console;
    EXPECT_EQ(runCommandLine({L"/preview", L"windows"}, rig.cleanServices, console, {}, &rig.traces,
                             &rig.system),
              kExitIncomplete);
    const Lines lines = console.lines();
    const Lines expected = {
        L"Error reports: 1 file (200 bytes), 0 registry items, ticked",
        L"  left out without administrator rights: "
        L"%ProgramData%\\Microsoft\\Windows\\WER\\ReportArchive\\*",
        L"  left out without administrator rights: "
        L"%ProgramData%\\Microsoft\\Windows\\WER\\ReportQueue\\*",
        L"Memory dumps: refused: it runs only with administrator rights",
        L"Prefetch: refused: it runs only with administrator rights, ticked",
    };
    for (const std::wstring& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), L"  " + line), lines.end())
            << testing::PrintToString(line);
    EXPECT_EQ(lines.front(),
              L"Windows: 1 item (200 bytes) would be removed; 2 of 12 items ticked.");

    console.text.clear();
    EXPECT_EQ(runCommandLine({L"/clean", L"windows"}, rig.cleanServices, console, {}, &rig.traces,
                             &rig.system),
              kExitIncomplete);
    EXPECT_EQ(console.lines().front(),
              L"Windows: 1 item (200 bytes) removed; from 2 items; Prefetch was refused: it runs "
              L"only with administrator rights.");
    EXPECT_TRUE(rig.files.files.count(L"C:\\Windows\\Prefetch\\NOTEPAD.EXE-1234ABCD.pf"));
    EXPECT_TRUE(rig.files.files.count(
        L"C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\Critical_y\\Report.wer"));
    EXPECT_FALSE(
        rig.files.folders.count(kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\"));
    EXPECT_TRUE(
        rig.files.files.count(kLocal + L"Microsoft\\Windows\\WER\\ReportArchive\\kept.txt"));
}

// What goes through the system, and what could not be done, each said as it is.
TEST(WindowsArea, TheSystemsOperationsAndWhatWasLeftAreToldAsTheyWent) {
    struct Case {
        const char* name;
        std::wstring ticked;
        std::function<void(WindowsRig&)> arrange;
        std::wstring previewLine;  // the item's first preview line
        std::wstring logged;       // the clean's line
        bool done;
    };
    const Case cases[] = {
        {"empty clipboard", L"Clipboard", [](WindowsRig&) {}, L"Clipboard: empty, ticked",
         L"Windows: Clipboard: it was empty.", true},
        {"clipboard held elsewhere", L"Clipboard",
         [](WindowsRig& rig) { rig.system.clipboardError = kErrorAccessDenied; },
         L"Clipboard: not counted: it could not be read: system text 5, ticked",
         L"Windows: Clipboard: not emptied: system text 5.", false},
        {"files, a picture and more", L"Clipboard",
         [](WindowsRig& rig) {
             rig.system.clipboard = {5, std::nullopt, 3, true};
         },
         L"Clipboard: holds 3 files, a picture, ticked", L"Windows: Clipboard: emptied.", true},
        {"flushed", L"DNS cache", [](WindowsRig&) {},
         L"DNS cache: not counted: Windows offers no documented way to read it, ticked",
         L"Windows: DNS cache: flushed.", true},
        {"the tool failed", L"DNS cache", [](WindowsRig& rig) { rig.system.flushExitCode = 1; },
         L"DNS cache: not counted: Windows offers no documented way to read it, ticked",
         L"Windows: DNS cache: not flushed: ipconfig /flushdns ended with exit code 1.", false},
        {"a thumbnail file in use", L"Thumbnail cache",
         [](WindowsRig& rig) {
             rig.plant(kLocal + L"Microsoft\\Windows\\Explorer\\thumbcache_32.db", 10);
             rig.plant(kLocal + L"Microsoft\\Windows\\Explorer\\thumbcache_96.db", 10);
             rig.files.files[kLocal + L"Microsoft\\Windows\\Explorer\\thumbcache_96.db"].locked =
                 true;
         },
         L"Thumbnail cache: 2 files (20 bytes), 0 registry items, ticked",
         L"Windows: Thumbnail cache: 1 file and 0 registry items removed; left: 1 in use by "
         L"another program; in use: thumbcache_96.db.",
         false},
    };
    for (const Case& c : cases) {
        WindowsRig rig;
        c.arrange(rig);
        rig.settings.put(kWindowsKey, c.ticked);
        const CleanReport preview = rig.run({&kWindowsArea}, CleanMode::preview);
        const Lines& details = preview.entries.at(0).result.details;
        EXPECT_NE(std::find(details.begin(), details.end(), c.previewLine), details.end())
            << c.name << ": " << testing::PrintToString(details);
        const CleanReport report = rig.run({&kWindowsArea});
        EXPECT_TRUE(rig.logFile.contains(c.logged)) << c.name;
        EXPECT_EQ(report.done(), c.done) << c.name;
    }
}

TEST(WindowsArea, WithoutItsBuiltInRulesTheAreaIsLeftAloneAndSaysWhy) {
    WindowsRig rig;
    rig.system.rulesError = kErrorFileNotFound;
    WindowsItems unread(rig.traces, rig.system);
    rig.state.windows = &unread;
    rig.settings.put(kWindowsKey, L"Clipboard");
    const CleanReport report = rig.run({&kWindowsArea});
    EXPECT_FALSE(report.entries.at(0).result.ran);
    EXPECT_EQ(report.entries.at(0).result.why,
              L"the built-in rules could not be read: system text 2");
    EXPECT_TRUE(rig.system.log.empty());
}

}  // namespace
}  // namespace purgeon
