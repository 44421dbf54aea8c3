// Starts with arguments: what they ask for, and runs without windows that say what they did.
#include <gtest/gtest.h>

#include <functional>

#include "cli/command_run.h"
#include "cli/command_line.h"
#include "clean/area_table.h"
#include "fakes/clean_rig.h"

namespace purgeon {
namespace {

std::vector<std::wstring> areaNames(const std::vector<std::size_t>& rows) {
    std::vector<std::wstring> names;
    for (std::size_t row : rows) names.push_back(cleanAreas()[row]->name);
    return names;
}

TEST(CommandLine, ArgumentsGiveTheActionAndTheAreasInTheTablesOrder) {
    const std::vector<std::wstring> all = {L"cache", L"cookies",  L"history", L"recyclebin",
                                           L"temp",  L"browsers", L"apps",    L"windows"};
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring action;  // the switch's name; empty: the window, or not understood
        std::vector<std::wstring> areas;
        std::wstring error;
    };
    const Case cases[] = {
        {{}, L"", {}, L""},
        {{L"/clean"}, L"clean", all, L""},
        {{L"/preview"}, L"preview", all, L""},
        {{L"/CLEAN", L"Temp,COOKIES"}, L"clean", {L"cookies", L"temp"}, L""},
        {{L"/clean", L"browsers,cache"}, L"clean", {L"cache", L"browsers"}, L""},
        {{L"-preview", L"temp,", L"cache"}, L"preview", {L"cache", L"temp"}, L""},
        {{L"/clean", L"recyclebin, history,history"}, L"clean", {L"history", L"recyclebin"}, L""},
        {{L"/help"}, L"help", {}, L""},
        {{L"/?"}, L"help", {}, L""},
        {{L"/clean", L"nonsense", L"/?"}, L"help", {}, L""},
        {{L"/clean", L"cookies,nonsense"}, L"", {}, L"Unknown area: nonsense"},
        {{L"/clean", L"/fast"}, L"", {}, L"Unknown switch: /fast"},
        {{L"cookies"},
         L"",
         {},
         L"The area list belongs after /clean or /preview, and paths after /wipe or "
         L"/wipefreespace: cookies"},
        {{L"/clean", L"temp", L"/preview"},
         L"",
         {},
         L"/clean and /preview cannot be given together."},
        {{L"/clean", L","}, L"", {}, L"The area list names no area."},
    };
    for (const Case& c : cases) {
        const CommandLine command = parseCommandLine(c.arguments);
        EXPECT_EQ(command.given ? std::wstring(command.given->name) : L"", c.action)
            << testing::PrintToString(c.arguments);
        EXPECT_EQ(areaNames(command.areas), c.areas) << testing::PrintToString(c.arguments);
        EXPECT_EQ(command.error, c.error) << testing::PrintToString(c.arguments);
    }
}

TEST(CommandLine, TheWipesTakeFullPathsOnlyAndNoOtherAction) {
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring action;  // the switch's name; empty: the window, or not understood
        std::vector<std::wstring> paths;
        std::wstring error;
    };
    const Case cases[] = {
        {{L"/wipe", L"C:\\a.doc", L"\\\\srv\\share\\b"},
         L"wipe",
         {L"C:\\a.doc", L"\\\\srv\\share\\b"},
         L""},
        {{L"-WIPEFREESPACE", L"D:"}, L"wipefreespace", {L"D:"}, L""},
        {{L"/wipefreespace", L"C:\\Users\\me\\Documents"},
         L"wipefreespace",
         {L"C:\\Users\\me\\Documents"},
         L""},
        {{L"/wipe", L"D:"}, L"", {}, L"Not a full path: D:"},
        {{L"/wipe", L"notes.txt"}, L"", {}, L"Not a full path: notes.txt"},
        {{L"/wipefreespace"},
         L"",
         {},
         L"/wipefreespace needs the full path of a folder or a drive."},
        {{L"/wipe", L"C:\\a", L"/clean"}, L"", {}, L"/clean and /wipe cannot be given together."},
        {{L"/wipefreespace", L"D:", L"/preview"},
         L"",
         {},
         L"/preview and /wipefreespace cannot be given together."},
        {{L"/wipe", L"C:\\a", L"/?"}, L"help", {}, L""},
    };
    for (const Case& c : cases) {
        const CommandLine command = parseCommandLine(c.arguments);
        EXPECT_EQ(command.given ? std::wstring(command.given->name) : L"", c.action)
            << testing::PrintToString(c.arguments);
        EXPECT_EQ(command.paths, c.paths) << testing::PrintToString(c.arguments);
        EXPECT_EQ(command.error, c.error) << testing::PrintToString(c.arguments);
        EXPECT_TRUE(command.areas.empty()) << testing::PrintToString(c.arguments);
    }
}

TEST(CommandLine, TheUsageTextNamesEverySwitchAreaAndExitCodeWithinTheConsolesWidth) {
    const std::wstring usage = usageText();
    for (const Area* area : cleanAreas())
        EXPECT_NE(usage.find(L"\n  " + std::wstring(area->name) + L" "), std::wstring::npos)
            << testing::PrintToString(std::wstring(area->name));
    for (const CommandSwitch& row : commandSwitches())
        EXPECT_NE(usage.find(L"\n  purgeon.exe " + std::wstring(row.synopsis)), std::wstring::npos)
            << testing::PrintToString(std::wstring(row.name));
    for (const ExitCodeMeaning& code : kExitCodes)
        EXPECT_NE(usage.find(std::to_wstring(code.code) + L" when"), std::wstring::npos)
            << code.code;
    for (size_t start = 0, end; (end = usage.find(L'\n', start)) != std::wstring::npos;
         start = end + 1)
        EXPECT_LE(end - start, 79u) << testing::PrintToString(usage.substr(start, end - start));
}

// A machine with something in every area; the command line runs over its services.
struct CommandRig : fakes::CleanPlatform {
    CommandRig() {
        urlCache.entries = {{L"http://a.example/", kNormalCacheEntry, 700},
                            {L"Cookie:me@a.example/", kNormalCacheEntry, 40},
                            {L"http://b.example/", kNormalCacheEntry, 324}};
        files.addFile(cookieFolder + L"\\", L"me@a.txt", kAttrArchive, {1, 2, 3});
        // One file only: the clearing's flushing threads would share the fakes.
        files.addFile(folders.temp, L"t.tmp", kAttrArchive, std::vector<unsigned char>(2048, 7));
        history.shared->entries = {{L"http://a.example/", true, L"A", 0, 0},
                                   {L"http://b.example/", true, L"B", 0, 0}};
        shell.recycleBin = {3, 1536};
    }
    const std::wstring tempFile = folders.temp + L"t.tmp";
    int run(std::vector<std::wstring> arguments) {
        return runCommandLine(arguments, cleanServices, console);
    }
    // Nothing of the machine's data was touched.
    void expectUntouched() const {
        EXPECT_EQ(urlCache.entries.size(), 3u);
        EXPECT_TRUE(urlCache.removed.empty());
        EXPECT_TRUE(files.files.count(cookieFolder + L"\\me@a.txt"));
        EXPECT_EQ(files.files.at(tempFile).content, std::vector<unsigned char>(2048, 7));
        EXPECT_TRUE(files.passEnds.empty());
        for (const std::wstring& step : files.log)
            EXPECT_NE(step.rfind(L"delete ", 0), 0u) << testing::PrintToString(step);
        EXPECT_EQ(history.shared->entries.size(), 2u);
        EXPECT_EQ(shell.recycleBinEmptied, 0);
    }
    fakes::FakeConsole console;
};

TEST(CleanCommand, HelpAndBadArgumentsTellTheUsageAndTouchNothing) {
    struct Case {
        std::vector<std::wstring> arguments;
        int exitCode;
        std::wstring firstLine;
    };
    const Case cases[] = {
        {{L"/help"}, kExitDone, L"Usage:"},
        {{L"/?"}, kExitDone, L"Usage:"},
        {{L"/clean", L"cookies,biscuits"}, kExitBadArguments, L"Unknown area: biscuits"},
        {{L"/wipe"},
         kExitBadArguments,
         L"/wipe needs the full path of at least one file or folder."},
        {{L"/wipefreespace", L"C:\\Users\\me", L"D:"},
         kExitBadArguments,
         L"/wipefreespace takes one folder or drive, not 2."},
    };
    for (const Case& c : cases) {
        CommandRig rig;
        EXPECT_EQ(rig.run(c.arguments), c.exitCode) << testing::PrintToString(c.arguments);
        EXPECT_EQ(rig.console.lines().at(0), c.firstLine);
        EXPECT_NE(rig.console.text.find(usageText()), std::wstring::npos);
        rig.expectUntouched();
        EXPECT_EQ(rig.logFile.contains(L"Command line not understood"),
                  c.exitCode == kExitBadArguments);
    }
}

TEST(CleanCommand, CleaningEveryAreaRunsTheAutomaticRunsStepsAndSaysWhatWent) {
    CommandRig rig;
    EXPECT_EQ(rig.run({L"/clean"}), kExitDone);

    EXPECT_EQ(rig.urlCache.entries.size(), 1u);  // the "Cookie:" entry is spared
    EXPECT_EQ(rig.urlCache.entries.front().sourceUrlName, L"Cookie:me@a.example/");
    EXPECT_FALSE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    EXPECT_TRUE(rig.history.shared->entries.empty());
    EXPECT_EQ(rig.shell.recycleBinEmptied, 1);
    EXPECT_FALSE(rig.files.files.count(rig.folders.temp + L"t.tmp"));
    // The temporary file was overwritten once, with random data, before it went.
    ASSERT_EQ(rig.files.passEnds.size(), 1u);
    EXPECT_EQ(rig.files.passEnds[0].byte, fakes::FakeFileSystem::kMixed);

    EXPECT_EQ(rig.console.lines(),
              (std::vector<std::wstring>{
                  L"Cache: 2 entries removed; 1 cookie and password entries spared (\"Delete "
                  L"Cached passwords\" is off).",
                  L"Cookies: 1 file removed from C:\\Users\\me\\Cookies.",
                  L"History: 2 entries removed.",
                  L"Recycle Bin: 3 items (1.5 KB) removed.",
                  L"Temporary files: 1 file removed from C:\\Users\\me\\AppData\\Local\\Temp.",
                  L"Browsers: 0 items removed.",
                  L"Applications: 0 files removed; no rule file is read.",
                  L"Windows: 0 items removed; no Windows items are read.",
              }));
    // The log tells the run as an automatic run's, and where it came from.
    for (const wchar_t* line :
         {L"Purgeon 1.0.0: cleaning run from the command line (/clean).",
          L"Cache: 2 entries removed.", L"Cookies: 1 removed in C:\\Users\\me\\Cookies.",
          L"History: cleared.", L"Recycle Bin: emptied.",
          L"Temporary files: 1 wiped in C:\\Users\\me\\AppData\\Local\\Temp.",
          L"Command line: ended with exit code 0."})
        EXPECT_TRUE(rig.logFile.contains(line)) << testing::PrintToString(std::wstring(line));
    // A run beside the tray: the command line has no single-instance slot to ask.
    EXPECT_EQ(rig.run({L"/clean", L"temp"}), kExitDone);
}

TEST(CleanCommand, OnlyTheNamedAreasAreCleanedAndStoredPasswordsOptionIsHonoured) {
    CommandRig rig;
    rig.settings.put(L"delcachedpasswords", L"1");
    EXPECT_EQ(rig.run({L"/clean", L"cache"}), kExitDone);
    EXPECT_TRUE(rig.urlCache.entries.empty());  // the "Cookie:" entry goes too
    EXPECT_EQ(rig.console.lines(), std::vector<std::wstring>{L"Cache: 3 entries removed."});
    EXPECT_TRUE(rig.files.files.count(rig.cookieFolder + L"\\me@a.txt"));
    EXPECT_TRUE(rig.files.files.count(rig.folders.temp + L"t.tmp"));
    EXPECT_EQ(rig.history.shared->entries.size(), 2u);
    EXPECT_EQ(rig.shell.recycleBinEmptied, 0);
}

TEST(CleanCommand, AnItemLeftOrAnAreaRefusedGivesExitCodeOneAndSaysWhy) {
    const std::wstring documents = L"C:\\Users\\me\\Documents";
    struct Case {
        const char* name;
        std::wstring area;
        std::function<void(CommandRig&)> arrange;
        std::wstring line;
        std::wstring logged;
    };
    const Case cases[] = {
        {"cache entry refused", L"cache",
         [](CommandRig& rig) { rig.urlCache.refused = {L"http://b.example/"}; },
         L"Cache: 1 entry removed; 1 cookie and password entries spared (\"Delete Cached "
         L"passwords\" is off); 1 refused by the cache.",
         L"Cache: 1 entries removed, 1 refused."},
        {"cookie in use", L"cookies",
         [](CommandRig& rig) { rig.files.files[rig.cookieFolder + L"\\me@a.txt"].locked = true; },
         L"Cookies: 0 files removed from C:\\Users\\me\\Cookies; 1 still there (in use by another "
         L"program, or refused).",
         L"Cookies: 0 removed, 1 still there in C:\\Users\\me\\Cookies."},
        {"cookie folder guarded", L"cookies",
         [&](CommandRig& rig) {
             rig.registry.values[{kShellFoldersKey, L"Cookies"}] =
                 fakes::FakeRegistry::stringValue(documents);
             rig.files.addFile(documents + L"\\", L"thesis.doc");
         },
         L"Cookies: not cleaned: the folder C:\\Users\\me\\Documents was refused: it is the "
         L"Documents folder.",
         L"Cookies: The cookie folder C:\\Users\\me\\Documents was not cleaned"},
        {"no cookie folder named", L"cookies",
         [](CommandRig& rig) {
             rig.registry.values.erase({kShellFoldersKey, L"Cookies"});
         },
         L"Cookies: not cleaned: the system names no cookie folder.",
         L"Command line: not shown in a box: system text 2"},
        {"history refused", L"history",
         [](CommandRig& rig) { rig.history.shared->clearResult = kFail; },
         L"History: not cleaned: the history store refused to clear it.",
         L"History: not cleared: the store answered 0x80004005."},
        {"recycle bin refused", L"recyclebin",
         [](CommandRig& rig) { rig.shell.recycleBinError = kErrorAccessDenied; },
         L"Recycle Bin: not cleaned: the shell refused to empty it.",
         L"Recycle Bin: not emptied: system text 5"},
        {"temporary file in use", L"temp",
         [](CommandRig& rig) { rig.files.files[rig.folders.temp + L"t.tmp"].locked = true; },
         L"Temporary files: 0 files removed from C:\\Users\\me\\AppData\\Local\\Temp; not wiped: "
         L"1 in use by another program.",
         L"Temporary files: 0 wiped in C:\\Users\\me\\AppData\\Local\\Temp; not wiped: 1 in use "
         L"by another program."},
        {"temporary file not verified", L"temp",
         [](CommandRig& rig) { rig.files.files[rig.folders.temp + L"t.tmp"].flippedOnRead = 0; },
         L"Temporary files: 1 file removed from C:\\Users\\me\\AppData\\Local\\Temp; not wiped: "
         L"1 overwritten and removed but not verified.",
         L"Temporary files: 0 wiped in C:\\Users\\me\\AppData\\Local\\Temp; not wiped: 1 "
         L"overwritten and removed but not verified."},
        {"temporary folder guarded", L"temp",
         [&](CommandRig& rig) {
             rig.folders.temp = documents + L"\\";
             rig.files.addFile(documents + L"\\", L"thesis.doc");
         },
         L"Temporary files: not cleaned: the folder C:\\Users\\me\\Documents was refused: it is "
         L"the Documents folder.",
         L"Temporary files: C:\\Users\\me\\Documents was not cleared: it is the Documents "
         L"folder."},
    };
    for (const Case& c : cases) {
        CommandRig rig;
        c.arrange(rig);
        EXPECT_EQ(rig.run({L"/clean", c.area}), kExitIncomplete) << c.name;
        ASSERT_EQ(rig.console.lines().size(), 2u) << c.name;
        EXPECT_EQ(rig.console.lines()[0], c.line) << c.name;
        EXPECT_EQ(rig.console.lines()[1],
                  L"Not everything could be removed; the log says more: " + rig.logFile.path())
            << c.name;
        EXPECT_TRUE(rig.logFile.contains(c.logged)) << c.name;
        EXPECT_TRUE(rig.logFile.contains(L"Command line: ended with exit code 1.")) << c.name;
        EXPECT_TRUE(rig.files.files.count(documents + L"\\thesis.doc") ||
                    !rig.files.folders.count(documents + L"\\"))
            << c.name;
    }
}

TEST(CleanCommand, PreviewCountsWhatCleanWouldRemoveAndRemovesNothing) {
    CommandRig rig;
    EXPECT_EQ(rig.run({L"/preview"}), kExitDone);
    rig.expectUntouched();
    EXPECT_EQ(rig.console.lines(),
              (std::vector<std::wstring>{
                  L"Cache: 2 entries (1.0 KB) would be removed; 1 cookie and password entries "
                  L"spared (\"Delete Cached passwords\" is off).",
                  L"Cookies: 1 file (3 bytes) would be removed from C:\\Users\\me\\Cookies.",
                  L"History: 2 entries would be removed.",
                  L"Recycle Bin: 3 items (1.5 KB) would be removed.",
                  L"Temporary files: 1 file (2.0 KB) would be removed from "
                  L"C:\\Users\\me\\AppData\\Local\\Temp.",
                  L"Browsers: 0 items (0 bytes) would be removed.",
                  L"Applications: 0 files would be removed; no rule file is read.",
                  L"Windows: 0 items would be removed; no Windows items are read.",
                  L"Nothing was removed.",
              }));
    EXPECT_TRUE(rig.logFile.contains(
        L"Purgeon 1.0.0: preview from the command line (/preview); nothing is removed."));
}

TEST(CleanCommand, APreviewOfAnAreaThatWouldBeRefusedGivesExitCodeOne) {
    CommandRig rig;
    rig.folders.temp = L"C:\\Users\\me\\Documents\\";
    rig.files.addFile(rig.folders.temp, L"thesis.doc");
    EXPECT_EQ(rig.run({L"/preview", L"temp,cache"}), kExitIncomplete);
    rig.expectUntouched();
    EXPECT_TRUE(rig.files.files.count(L"C:\\Users\\me\\Documents\\thesis.doc"));
    EXPECT_EQ(rig.console.lines().at(1),
              L"Temporary files: would be left alone: the folder C:\\Users\\me\\Documents was "
              L"refused: it is the Documents folder.");
}

TEST(CleanCommand, AConsoleThatCannotBeWrittenLeavesOneLineInTheLog) {
    CommandRig rig;
    rig.console.error = kErrorInvalidHandle;
    EXPECT_EQ(rig.run({L"/clean", L"cache,cookies"}), kExitDone);
    EXPECT_EQ(std::count_if(rig.logFile.lines.begin(), rig.logFile.lines.end(),
                            [](const std::wstring& line) {
                                return line.find(L"the console could not be written") !=
                                       std::wstring::npos;
                            }),
              1);
}

TEST(WipeCommand, EachPathIsWipedAsTheTabWipesItAndWhatIsNotIsNamedWithWhy) {
    CommandRig rig;
    const std::wstring documents = L"C:\\Users\\me\\Documents";
    const std::wstring old = L"C:\\old\\";
    rig.files.addFile(L"C:\\", L"old", kAttrDirectory);
    rig.files.addFile(old, L"letter.doc", kAttrArchive, std::vector<unsigned char>(700, 9));
    rig.files.addFile(documents + L"\\", L"thesis.doc", kAttrArchive, {1});
    rig.files.addFile(L"C:\\", L"held.txt", kAttrArchive, {2});
    rig.files.files.at(L"C:\\held.txt").locked = true;
    rig.settings.put(L"shredlevel", L"False");  // "US DOD (7passes)"

    EXPECT_EQ(rig.run({L"/wipe", old, documents, L"C:\\held.txt", L"C:\\gone.txt", rig.tempFile}),
              kExitIncomplete);
    EXPECT_EQ(rig.console.lines(),
              (std::vector<std::wstring>{
                  L"Item 1 (a folder): 1 file(s) wiped.",
                  L"C:\\Users\\me\\Documents cannot be wiped: it is the Documents folder.",
                  L"C:\\held.txt could not be wiped: it is in use by another program.",
                  L"C:\\gone.txt could not be wiped: there is no such file or folder.",
                  L"Item 5 (a file) wiped.",
              }));
    EXPECT_FALSE(rig.files.files.count(old + L"letter.doc"));
    EXPECT_FALSE(rig.files.files.count(rig.tempFile));
    EXPECT_TRUE(rig.files.files.count(documents + L"\\thesis.doc"));
    EXPECT_EQ(rig.files.files.at(L"C:\\held.txt").content, std::vector<unsigned char>{2});
    // Seven passes each, as the stored level says, and no question asked.
    EXPECT_EQ(rig.files.passEnds.size(), 14u);
    // The log counts; it names no file.
    EXPECT_TRUE(
        rig.logFile.contains(L"Purgeon 1.0.0: wipe from the command line (/wipe <path> "
                             L"<path> <path> <path> <path>)."));
    EXPECT_TRUE(
        rig.logFile.contains(L"Command line: wipe: 2 file(s) wiped, 1 not wiped (1 in use "
                             L"by another program); 2 path(s) refused or missing."));
    for (const std::wstring& line : rig.logFile.lines) {
        for (const wchar_t* name : {L"letter", L"thesis", L"held", L"gone", L"t.tmp", L"old"})
            EXPECT_EQ(line.find(name), std::wstring::npos) << testing::PrintToString(line);
    }

    CommandRig alone;
    alone.files.addFile(L"C:\\", L"held.txt", kAttrArchive, {2});
    EXPECT_EQ(alone.run({L"/wipe", L"C:\\held.txt"}), kExitDone);
    EXPECT_EQ(alone.console.lines(), std::vector<std::wstring>{L"Item 1 (a file) wiped."});
    EXPECT_EQ(alone.files.passEnds.size(), 3u);  // "Quick( 3 passes)" unless stored otherwise
}

// Started from the shell's "Wipe with Purgeon", the wipe asks first as the Secure Wipe tab does.
TEST(WipeCommand, FromTheShellItAsksFirstAndNoLeavesEverything) {
    for (bool yes : {false, true}) {
        CommandRig rig;
        rig.files.addFile(L"C:\\", L"note.txt", kAttrArchive, {4, 5});
        std::vector<std::wstring> asked;
        const int code = runCommandLine({L"/wipe", L"C:\\note.txt"}, rig.cleanServices, rig.console,
                                        [&](const std::wstring& question) {
                                            asked.push_back(question);
                                            return yes;
                                        });
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0],
                  L"Warning! this will wipe the specified files and delete them. Once this is "
                  L"done they cannot be recovered\r\n\r\nC:\\note.txt");
        EXPECT_EQ(code, yes ? kExitDone : kExitCancelled);
        EXPECT_EQ(rig.files.files.count(L"C:\\note.txt"), yes ? 0u : 1u);
        EXPECT_EQ(rig.files.passEnds.size(), yes ? 3u : 0u);
    }
}

TEST(WipeCommand, TheFreeSpaceOfTheFoldersVolumeIsWipedWithoutAQuestion) {
    struct Case {
        std::wstring folder;
        int exitCode;
        std::wstring first;
    };
    const Case cases[] = {
        {L"C:\\Users\\me\\Documents", kExitDone, L"Wiping the free space of C:\\ (2.0 MB free)..."},
        {L"N:", kExitIncomplete, L"The free space of N:\\ cannot be wiped: it is a network drive."},
    };
    for (const Case& c : cases) {
        CommandRig rig;
        rig.volumes.add(L"C:\\", fakes::FakeVolumes::of(DriveKind::fixed, 2 << 20));
        rig.volumes.add(L"N:\\", fakes::FakeVolumes::of(DriveKind::network, 2 << 20));
        rig.files.folders[L"C:\\Users\\me\\Documents\\"];
        rig.volumes.flushError = kErrorAccessDenied;  // no administrator rights
        EXPECT_EQ(rig.run({L"/wipefreespace", c.folder}), c.exitCode);
        ASSERT_FALSE(rig.console.lines().empty());
        EXPECT_EQ(rig.console.lines().front(), c.first);
        if (c.exitCode != kExitDone) {
            EXPECT_TRUE(rig.volumes.made.empty());
            continue;
        }
        EXPECT_EQ(rig.console.lines().at(1),
                  L"The free space of C:\\ was wiped: 2.0 MB of overwrite data written and "
                  L"removed.");
        EXPECT_EQ(rig.volumes.written, 2u << 20);
        for (const std::wstring& path : rig.volumes.made) EXPECT_FALSE(rig.files.files.count(path));
        EXPECT_TRUE(rig.logFile.contains(L"Free space of C:\\: wiped; 2.0 MB of 2.0 MB free"));
        EXPECT_TRUE(rig.logFile.contains(L"the volume could not be flushed as a whole (error 5)"));
        EXPECT_FALSE(rig.logFile.contains(L"Documents"));
    }
}

}  // namespace
}  // namespace purgeon
