// The folder guard: plain spellings of a path, and which folders may be emptied for what.
#include <gtest/gtest.h>

#include "fakes/fake_stores.h"
#include "wipe/folder_guard.h"

namespace purgeon {
namespace {

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(FolderGuard, PlainPathGivesOneSpellingOrNothingForARelativePath) {
    struct Case {
        std::wstring given;
        std::wstring plain;
    };
    for (const Case& c : {
             Case{L"C:/Users/me/", L"C:\\Users\\me"},
             Case{L"c:\\", L"C:\\"},
             Case{L"\\\\?\\C:\\Temp\\", L"C:\\Temp"},
             Case{L"\\\\?\\UNC\\srv\\share\\x", L"\\\\srv\\share\\x"},
             Case{L"\\\\localhost\\c$\\Windows\\Temp", L"C:\\Windows\\Temp"},
             Case{L"\\\\127.0.0.1\\D$", L"D:\\"},
             Case{L"C:\\x\\.\\y\\..\\z...", L"C:\\x\\z"},
             Case{L"C:\\Temp. .\\\\", L"C:\\Temp"},
             Case{L"C:\\..\\..", L"C:\\"},
             Case{L"Temp", L""},
             Case{L"C:Temp", L""},
             Case{L"\\Temp", L""},
             Case{L"\\\\srv", L""},
             Case{L"\\\\\\?\\s", L""},
             Case{L"\\\\.\\share\\x", L""},
             Case{L"\\\\?\\UNC\\?\\C$\\x", L"C:\\x"},
         }) {
        EXPECT_EQ(plainPath(c.given), c.plain) << narrow(c.given);
        // The plain form of a plain form is itself.
        EXPECT_EQ(plainPath(c.plain), c.plain) << narrow(c.given);
    }
}

TEST(FolderGuard, RootsAndNamedFoldersAreRefusedAndOnlyTemporaryFoldersInsideThemAreCleared) {
    const fakes::FakeSystemFolders folders;
    const std::vector<std::wstring> temps = {L"C:\\Users\\me\\AppData\\Local\\Temp",
                                             L"C:\\Windows\\Temp"};
    using V = FolderVerdict;
    struct Case {
        std::wstring folder;
        V temporary;  // emptied unasked
        V wipe;       // chosen by the user (the cookie folder follows the same rule)
    };
    for (const Case& c : {
             Case{L"C:\\", V::driveRoot, V::driveRoot},
             Case{L"\\\\srv\\share", V::shareRoot, V::shareRoot},
             Case{L"C:\\Users\\me", V::knownFolder, V::knownFolder},
             Case{L"c:\\users\\ME\\documents", V::knownFolder, V::knownFolder},
             Case{L"C:\\Users\\me\\AppData\\Local", V::knownFolder, V::knownFolder},
             Case{L"C:\\Program Files", V::knownFolder, V::knownFolder},
             Case{L"C:\\Users\\me\\AppData", V::holdsKnownFolder, V::holdsKnownFolder},
             Case{L"C:\\Users\\me\\Documents\\Thesis", V::notTemporary, V::allowed},
             Case{L"C:\\Program Files\\App", V::notTemporary, V::allowed},
             Case{L"C:\\Users\\me\\Documents\\Temp", V::allowed, V::allowed},
             Case{L"C:\\Users\\me\\AppData\\Local\\Temp", V::allowed, V::allowed},
             Case{L"C:\\Windows\\Temp", V::allowed, V::allowed},
             Case{L"C:\\Users\\me\\AppData\\Local\\Packages\\app\\TMP", V::allowed, V::allowed},
             Case{L"D:\\scratch", V::allowed, V::allowed},
             Case{L"", V::relative, V::relative},
         }) {
        EXPECT_EQ(judgeFolder(c.folder, folders.known, temps, FolderUse::temporary).verdict,
                  c.temporary)
            << narrow(c.folder);
        EXPECT_EQ(judgeFolder(c.folder, folders.known, temps, FolderUse::wipe).verdict, c.wipe)
            << narrow(c.folder);
        EXPECT_EQ(judgeFolder(c.folder, folders.known, temps, FolderUse::cookies).verdict, c.wipe)
            << narrow(c.folder);
    }
}

TEST(FolderGuard, TheFinalPathIsJudgedSoNoSpellingOrLinkHidesANamedFolder) {
    fakes::FakeFileSystem files;
    fakes::FakeSystemFolders folders;
    for (const KnownFolder& known : folders.known) files.folders[known.path + L"\\"];
    files.folders[L"D:\\Temp\\"];
    files.aliases[L"C:\\Users\\me\\DOCUME~1"] = L"C:\\Users\\me\\Documents";
    files.aliases[L"D:\\Temp"] = L"C:\\Users\\me\\Documents";  // a junction named Temp
    for (const wchar_t* path :
         {L"C:\\Users\\me\\DOCUME~1\\", L"D:\\Temp", L"\\\\?\\C:\\Users\\me\\Documents\\.",
          L"\\\\localhost\\C$\\Users\\me\\Documents"}) {
        const FolderCheck check = checkFolder(files, folders, path, FolderUse::temporary);
        EXPECT_EQ(check.verdict, FolderVerdict::knownFolder) << narrow(path);
        EXPECT_EQ(check.folder, L"C:\\Users\\me\\Documents") << narrow(path);
        EXPECT_EQ(refusalReason(check), L"it is the Documents folder");
    }
    EXPECT_EQ(checkFolder(files, folders, L"D:\\missing", FolderUse::wipe).verdict,
              FolderVerdict::unresolvable);
}

}  // namespace
}  // namespace purgeon
