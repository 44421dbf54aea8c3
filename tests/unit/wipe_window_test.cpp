// The Secure Wipe tab: the warning, the passes, the messages and status texts, the pickers.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;
using fakes::ShownBox;

const std::wstring kWarningText =
    L"Warning! this will wipe the specified files and delete them. Once this is done they cannot "
    L"be recovered";

// The warning with what it will wipe listed below its first line.
ShownBox warning(const std::wstring& details = {}) {
    return {details.empty() ? kWarningText : kWarningText + L"\r\n\r\n" + details, L" Purgeon", 49};
}
const ShownBox kWarning =
    warning(L"File: D:\\a\\report.doc (1.5 KB)\r\nFolder: D:\\x: 3 file(s), 3 bytes");

struct WipeRig : ProgramRig {
    WipeRig() {
        files.addFile(L"D:\\a\\", L"report.doc", kAttrArchive, std::vector<unsigned char>(1500, 7));
        files.addFile(L"D:\\x\\", L"a.txt", kAttrArchive, {1});
        files.addFile(L"D:\\x\\", L"s", kAttrDirectory);
        files.addFile(L"D:\\x\\s\\", L"b.txt", kAttrArchive, {2});
        files.addFile(L"D:\\x\\", L"c.txt", kAttrArchive, {3});
        dialogs.answers = {kIdOk};
    }
    FrmMain& main() { return program.loadMainWindow(); }
    size_t passesOver(const std::wstring& path) {
        return static_cast<size_t>(
            std::count_if(files.passEnds.begin(), files.passEnds.end(),
                          [&](const auto& end) { return end.path == path; }));
    }
};

TEST(WipeWindow, BothTargetsAreWipedFileFirstWithTheChosenPasses) {
    for (bool quick : {true, false}) {
        WipeRig rig;
        FrmMain& main = rig.main();
        main.setValue(quick ? Ctl::optQuick : Ctl::optDOD, 1);
        main.textChanged(Ctl::txtFileToWipe, L"D:\\a\\report.doc");
        main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
        rig.log.clear();

        main.cmdWipe_Click();

        EXPECT_EQ(rig.dialogs.shown,
                  (std::vector<ShownBox>{kWarning,
                                         {L"report.doc wiped", L" Purgeon", 64},
                                         {L"3 files wiped, 3 bytes", L" Purgeon", 64}}));
        const size_t passes = quick ? 3 : 7;
        EXPECT_EQ(rig.passesOver(L"D:\\a\\report.doc"), passes);
        EXPECT_EQ(rig.passesOver(L"D:\\x\\s\\b.txt"), passes);
        EXPECT_TRUE(rig.files.files.empty());
        EXPECT_TRUE(rig.files.folders.count(L"D:\\x\\s\\"));
        // The status names each file as the work reaches it, and empties once it is done.
        const fakes::Log expected{L"busy",
                                  L"idle",
                                  L"busy",
                                  L"status:Currently wipingD:\\x\\a.txt",
                                  L"status:Currently wipingD:\\x\\s\\b.txt",
                                  L"status:Currently wipingD:\\x\\c.txt",
                                  L"status:",
                                  L"idle"};
        EXPECT_EQ(rig.log, expected);
        EXPECT_EQ(main.text(Ctl::txtFileToWipe),
                  L"D:\\a\\report.doc");  // the boxes keep their texts
        EXPECT_TRUE(rig.logFile.contains(L"Wipe of a chosen file: 1 file(s) wiped, 0 not wiped."));
        for (const wchar_t* name : {L"report.doc", L"a.txt", L"b.txt", L"c.txt"})
            EXPECT_FALSE(rig.logFile.contains(name));
    }
}

TEST(WipeWindow, CancelWipesNothing) {
    WipeRig rig;
    rig.dialogs.answers = {kIdCancel};
    FrmMain& main = rig.main();
    main.textChanged(Ctl::txtFileToWipe, L"D:\\a\\report.doc");
    main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
    main.cmdWipe_Click();
    EXPECT_EQ(rig.dialogs.shown, (std::vector<ShownBox>{kWarning}));
    EXPECT_EQ(rig.files.files.size(), 4u);
}

TEST(WipeWindow, AnEmptyMissingOrBareFileTellsNothingAndAnEmptyFolderCountsZero) {
    struct Case {
        std::wstring file;
        std::wstring folder;
        std::vector<ShownBox> shown;
    };
    for (const Case& c :
         {Case{L"", L"", {warning()}}, Case{L"D:\\a\\missing.doc", L"", {warning()}},
          Case{L"report.doc", L"", {warning()}},
          Case{L"",
               L"D:\\e",
               {warning(L"Folder: D:\\e: 0 file(s), 0 bytes"),
                {L"0 files wiped, 0 bytes", L" Purgeon", 64}}}}) {
        WipeRig rig;
        rig.files.addFile(L"D:\\a\\", L"empty.doc");
        rig.files.folders[L"D:\\e\\"];
        FrmMain& main = rig.main();
        main.textChanged(Ctl::txtFileToWipe, c.file);
        main.textChanged(Ctl::txtFolderToWipe, c.folder);
        main.cmdWipe_Click();
        EXPECT_EQ(rig.dialogs.shown, c.shown);
        EXPECT_EQ(rig.files.files.size(), 5u);
    }
}

TEST(WipeWindow, RootsAndTheSystemsFoldersAreRefusedBeforeAnythingIsAsked) {
    struct Case {
        std::wstring folder;
        std::wstring message;
    };
    for (const Case& c : {
             Case{L"C:\\", L"C:\\ cannot be wiped: it is the root of a drive."},
             Case{L"\\\\srv\\share\\",
                  L"\\\\srv\\share cannot be wiped: it is the root of a network share."},
             Case{L"C:\\Users\\me\\Documents\\",
                  L"C:\\Users\\me\\Documents cannot be wiped: it is the Documents folder."},
             Case{L"C:\\Users", L"C:\\Users cannot be wiped: it is the Users folder."},
             Case{L"C:\\Users\\me\\AppData",
                  L"C:\\Users\\me\\AppData cannot be wiped: it holds the Roaming app data folder."},
             Case{L"D:\\nowhere",
                  L"D:\\nowhere cannot be wiped: it does not exist or cannot be opened."},
         }) {
        WipeRig rig;
        for (const KnownFolder& known : rig.folders.known) rig.files.folders[known.path + L"\\"];
        rig.files.folders[L"C:\\"];
        rig.files.folders[L"\\\\srv\\share\\"];
        rig.files.folders[L"C:\\Users\\me\\AppData\\"];
        rig.files.addFile(L"C:\\Users\\me\\Documents\\", L"thesis.doc", kAttrArchive, {1});
        FrmMain& main = rig.main();
        main.textChanged(Ctl::txtFileToWipe, L"D:\\a\\report.doc");
        main.textChanged(Ctl::txtFolderToWipe, c.folder);
        main.cmdWipe_Click();
        EXPECT_EQ(rig.dialogs.shown, (std::vector<ShownBox>{{c.message, L" Purgeon", 48}}));
        EXPECT_TRUE(rig.files.passEnds.empty());
        EXPECT_EQ(rig.files.files.size(), 5u);
    }
}

TEST(WipeWindow, WhatCouldNotBeWipedIsToldWithItsReasonAndLogged) {
    WipeRig rig;
    rig.files.files[L"D:\\a\\report.doc"].locked = true;
    rig.files.files[L"D:\\x\\a.txt"].locked = true;
    rig.files.files[L"D:\\x\\c.txt"].failRemove = true;
    rig.dialogs.answers = {kIdOk};
    FrmMain& main = rig.main();
    main.textChanged(Ctl::txtFileToWipe, L"D:\\a\\report.doc");
    main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
    main.cmdWipe_Click();
    const std::wstring fileText =
        L"report.doc could not be wiped: it is in use by another program.";
    const std::wstring folderText =
        L"1 file wiped, 1 byte\r\n2 files not wiped: 1 in use by another program, 1 overwritten "
        L"but not removed.";
    EXPECT_EQ(rig.dialogs.shown,
              (std::vector<ShownBox>{
                  kWarning, {fileText, L" Purgeon", 48}, {folderText, L" Purgeon", 48}}));
    EXPECT_EQ(rig.files.files[L"D:\\a\\report.doc"].content, std::vector<unsigned char>(1500, 7));
    // The log has what came of each, and never the file's name.
    EXPECT_TRUE(rig.logFile.contains(
        L"Wipe of a chosen file: 0 file(s) wiped, 1 not wiped (1 in use by another program)"));
    EXPECT_TRUE(rig.logFile.contains(folderText));
    EXPECT_FALSE(rig.logFile.contains(L"report.doc"));
}

// Dropped on the Secure Wipe tab, the first folder and the first file fill their fields; dropped
// on another tab, nothing changes.
TEST(WipeWindow, DroppedFilesAndFoldersFillTheFieldsOnTheSecureWipeTabOnly) {
    WipeRig rig;
    FrmMain& main = rig.main();
    const std::vector<std::wstring> dropped{L"D:\\a\\report.doc", L"D:\\x", L"D:\\x\\a.txt",
                                            L"D:\\a"};
    main.filesDropped(dropped);
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"");
    EXPECT_EQ(main.text(Ctl::txtFolderToWipe), L"");

    main.selectTab(kTabSecureWipe);
    main.filesDropped(dropped);
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"D:\\a\\report.doc");
    EXPECT_EQ(main.text(Ctl::txtFolderToWipe), L"D:\\x");
    EXPECT_EQ(rig.mainView().texts[static_cast<int>(Ctl::txtFolderToWipe)], L"D:\\x");
}

TEST(WipeWindow, FilePickerKeepsItsLastChoiceAndCancelRules) {
    WipeRig rig;
    FrmMain& main = rig.main();
    main.cmdBrowseForFile_Click();  // cancelled before any choice: the box stays
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"");
    rig.pickers.openChoice = L"D:\\a\\report.doc";
    main.cmdBrowseForFile_Click();
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"D:\\a\\report.doc");
    main.textChanged(Ctl::txtFileToWipe, L"typed by hand");
    rig.pickers.openChoice.reset();
    main.cmdBrowseForFile_Click();  // cancelled after a choice: the choice comes back
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"D:\\a\\report.doc");
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(),
                         L"open dialog All Files (*.*)|*.* from 'D:\\a\\report.doc'"),
              1);  // the third opening starts from the earlier choice
}

TEST(WipeWindow, FolderPickerStartsAtTheProgramsFolderAndCancelEmptiesTheBox) {
    WipeRig rig;
    FrmMain& main = rig.main();
    main.textChanged(Ctl::txtFolderToWipe, L"D:\\x");
    main.cmdBrowseForFolder_Click();
    EXPECT_EQ(main.text(Ctl::txtFolderToWipe), L"");
    EXPECT_EQ(rig.log.back(),
              L"folder dialog &Select folder to wipe at " + rig.appInfo.programFolder);
    rig.pickers.folderChoice = L"D:\\x";
    main.cmdBrowseForFolder_Click();
    EXPECT_EQ(main.text(Ctl::txtFolderToWipe), L"D:\\x");
}

}  // namespace
}  // namespace purgeon
