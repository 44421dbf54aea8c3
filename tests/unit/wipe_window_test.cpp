// The Secure Wipe tab: the warning, the passes, the messages and status texts, the pickers.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace purgeon {
namespace {

using fakes::ProgramRig;
using fakes::ShownBox;

const ShownBox kWarning{
    L"Warning! this will wipe the specified files and delete them. Once this is "
    L"done they cannot be recovered",
    L" Purgeon", 49};

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

        EXPECT_EQ(rig.dialogs.shown, (std::vector<ShownBox>{kWarning,
                                                            {L"report.doc wiped", L" Purgeon", 64},
                                                            {L"3File(s) wiped", L" Purgeon", 64}}));
        const size_t passes = quick ? 3 : 7;
        EXPECT_EQ(rig.passesOver(L"D:\\a\\report.doc"), passes);
        EXPECT_EQ(rig.passesOver(L"D:\\x\\s\\b.txt"), passes);
        EXPECT_TRUE(rig.files.files.empty());
        EXPECT_TRUE(rig.files.folders.count(L"D:\\x\\s\\"));
        const fakes::Log expected{L"busy",    L"idle",
                                  L"busy",    L"status:Currently wipingD:\\x\\a.txt",
                                  L"status:", L"status:Currently wipingD:\\x\\s\\b.txt",
                                  L"status:", L"status:Currently wipingD:\\x\\c.txt",
                                  L"status:", L"idle"};
        EXPECT_EQ(rig.log, expected);
        EXPECT_EQ(main.text(Ctl::txtFileToWipe),
                  L"D:\\a\\report.doc");  // the boxes keep their texts
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
        std::vector<ShownBox> after;
    };
    for (const Case& c :
         {Case{L"", L"", {}}, Case{L"D:\\a\\missing.doc", L"", {}}, Case{L"report.doc", L"", {}},
          Case{L"", L"D:\\nowhere", {{L"0File(s) wiped", L" Purgeon", 64}}}}) {
        WipeRig rig;
        rig.files.addFile(L"D:\\a\\", L"empty.doc");
        FrmMain& main = rig.main();
        main.textChanged(Ctl::txtFileToWipe, c.file);
        main.textChanged(Ctl::txtFolderToWipe, c.folder);
        main.cmdWipe_Click();
        std::vector<ShownBox> expected{kWarning};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(rig.dialogs.shown, expected);
        EXPECT_EQ(rig.files.files.size(), 5u);
    }
}

TEST(WipeWindow, FilePickerKeepsItsLastChoiceAndCancelRules) {
    WipeRig rig;
    FrmMain& main = rig.main();
    main.cmdBrowseForFile_Click();  // cancelled before any choice: the box stays
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"");
    rig.mainView().openDialogChoice = L"D:\\a\\report.doc";
    main.cmdBrowseForFile_Click();
    EXPECT_EQ(main.text(Ctl::txtFileToWipe), L"D:\\a\\report.doc");
    main.textChanged(Ctl::txtFileToWipe, L"typed by hand");
    rig.mainView().openDialogChoice.reset();
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
    rig.mainView().folderDialogChoice = L"D:\\x";
    main.cmdBrowseForFolder_Click();
    EXPECT_EQ(main.text(Ctl::txtFolderToWipe), L"D:\\x");
}

}  // namespace
}  // namespace purgeon
