// The wipe command's file test and name, and the folder dialog's start selection.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_stores.h"
#include "platform/pickers.h"
#include "wipe/wipe_target.h"

namespace purgeon {
namespace {

TEST(WipeTarget, OnlyANonEmptyFileExistsAndOnlyOddFailuresAreTold) {
    fakes::FakeFileSystem files;
    fakes::FakeSystemErrors errors;
    files.addFile(L"D:\\a\\", L"report.doc", kAttrArchive, {1, 2});
    files.addFile(L"D:\\a\\", L"empty.doc");
    files.sizeErrors[L"D:\\gone\\x.doc"] = 3;    // the folder is missing
    files.sizeErrors[L"D:\\a\\bad|name"] = 123;  // a malformed name
    struct Case {
        std::wstring path;
        bool exists;
        long toldError;  // 0: nothing told
    };
    for (const Case& c : {Case{L"D:\\a\\report.doc", true, 0}, Case{L"D:\\a\\empty.doc", false, 0},
                          Case{L"D:\\a\\missing.doc", false, 0}, Case{L"D:\\gone\\x.doc", false, 3},
                          Case{L"D:\\a\\bad|name", false, 123}}) {
        fakes::FakeDialogs dialogs;
        EXPECT_EQ(FileExists(files, errors, dialogs, c.path), c.exists);
        if (c.toldError) {
            EXPECT_EQ(dialogs.shown,
                      (std::vector<fakes::ShownBox>{{errors.text(c.toldError), L" Purgeon", 0}}));
        } else {
            EXPECT_TRUE(dialogs.shown.empty());
        }
    }
}

TEST(WipeTarget, TheNameIsWhatFollowsTheLastBackslash) {
    EXPECT_EQ(fileNameOf(L"D:\\a\\report.doc"), L"report.doc");
    EXPECT_EQ(fileNameOf(L"report.doc"), L"report.doc");
    EXPECT_EQ(fileNameOf(L"D:\\a\\"), L"");
}

TEST(WipeTarget, TheFolderDialogSelectsTheStartFolderOnceReady) {
    struct Recorder : FolderDialog {
        void setSelection(const std::wstring& folder) override { selected.push_back(folder); }
        std::vector<std::wstring> selected;
    };
    Recorder dialog;
    EXPECT_EQ(BrowseCallback(dialog, 2, L"C:\\Program Files\\Purgeon"), 0);  // selection changed
    EXPECT_EQ(BrowseCallback(dialog, kBffmInitialized, L""), 0);
    EXPECT_TRUE(dialog.selected.empty());
    EXPECT_EQ(BrowseCallback(dialog, kBffmInitialized, L"C:\\Program Files\\Purgeon"), 0);
    EXPECT_EQ(dialog.selected, (std::vector<std::wstring>{L"C:\\Program Files\\Purgeon"}));
}

}  // namespace
}  // namespace purgeon
