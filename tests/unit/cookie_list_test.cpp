// The cookie list on its own: what is listed, what is deleted, which rows go.
#include <gtest/gtest.h>

#include "areas/cookie_list.h"
#include "fakes/fake_stores.h"

namespace purgeon {
namespace {

const std::wstring kFolder = L"C:\\Cookies\\";

std::vector<std::wstring> names(const CookieList& list) {
    std::vector<std::wstring> result;
    for (const CookieRow& row : list.rows()) result.push_back(row.name);
    return result;
}

fakes::FakeFileSystem cookieFolder() {
    fakes::FakeFileSystem files;
    files.addFile(kFolder, L"user@a.txt");
    files.addFile(kFolder, L"sub", kAttrDirectory);
    files.addFile(kFolder, L"index.dat", kAttrHidden | kAttrSystem);
    files.addFile(kFolder, L"Index.DAT");
    files.addFile(kFolder, L"user@b.txt", kAttrReadOnly);
    files.addFile(kFolder + L"sub\\", L"deep.txt");
    return files;
}

TEST(CookieList, ListsPlainFilesOnlyAndIndexDatOnlyWhileIncluded) {
    struct Case {
        bool includeIndexDat;
        std::vector<std::wstring> listed;
    };
    for (const Case& c : {Case{true, {L"user@a.txt", L"index.dat", L"Index.DAT", L"user@b.txt"}},
                          Case{false, {L"user@a.txt", L"Index.DAT", L"user@b.txt"}}}) {
        fakes::FakeFileSystem files = cookieFolder();
        CookieList list;
        int pumps = 0;
        EXPECT_TRUE(list.load(files, L"C:\\Cookies", c.includeIndexDat, [&] { ++pumps; }));
        EXPECT_EQ(names(list), c.listed);
        EXPECT_EQ(pumps, 4);  // once per file, hidden index.dat included
        EXPECT_EQ(files.listed, (std::vector<std::wstring>{kFolder}));  // no descent, no "\\\\"
        EXPECT_EQ(list.rows().front().path, kFolder + L"user@a.txt");
        // Only the last row is selected after a load.
        for (size_t i = 0; i < list.rows().size(); ++i)
            EXPECT_EQ(list.rows()[i].selected, i + 1 == list.rows().size());
    }
}

TEST(CookieList, AnEmptyFolderPathOrMissingFolderListsNothing) {
    fakes::FakeFileSystem files = cookieFolder();
    CookieList list;
    EXPECT_TRUE(list.load(files, L"", true, [] {}));
    EXPECT_TRUE(list.rows().empty());
    EXPECT_TRUE(files.listed.empty());  // never taken as the current drive's root
    EXPECT_EQ(list.load(files, L"C:\\Missing\\", true, [] {}), Status::error(kErrorPathNotFound));
    EXPECT_TRUE(list.rows().empty());
}

TEST(CookieList, DeletesLastRowFirstRetriesReadOnlyAndKeepsRowsOfFilesThatStay) {
    fakes::FakeFileSystem files = cookieFolder();
    files.files[kFolder + L"Index.DAT"].locked = true;
    CookieList list;
    ASSERT_TRUE(list.load(files, kFolder, true, [] {}));
    files.log.clear();

    list.deleteFiles(files, false);

    EXPECT_EQ(files.log, (std::vector<std::wstring>{
                             L"delete " + kFolder + L"user@b.txt",
                             L"normal " + kFolder + L"user@b.txt",
                             L"delete " + kFolder + L"user@b.txt",
                             L"delete " + kFolder + L"Index.DAT",
                             L"delete " + kFolder + L"index.dat",
                             L"delete " + kFolder + L"user@a.txt",
                         }));
    EXPECT_EQ(names(list), (std::vector<std::wstring>{L"Index.DAT"}));
    EXPECT_TRUE(files.files.count(kFolder + L"Index.DAT"));
    EXPECT_TRUE(files.files.count(kFolder + L"sub\\deep.txt"));
}

TEST(CookieList, SelectedOnlyDeletesTheSelectedRowsAndAFileAlreadyGoneKeepsItsRow) {
    fakes::FakeFileSystem files = cookieFolder();
    CookieList list;
    ASSERT_TRUE(list.load(files, kFolder, false, [] {}));
    list.selectNone();
    list.setSelected(0, true);
    list.setSelected(1, true);
    files.files.erase(kFolder + L"Index.DAT");  // deleted behind the list's back

    list.deleteFiles(files, true);

    EXPECT_EQ(names(list), (std::vector<std::wstring>{L"Index.DAT", L"user@b.txt"}));
}

}  // namespace
}  // namespace purgeon
