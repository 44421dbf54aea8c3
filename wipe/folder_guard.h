// The guard in front of every folder the program empties: roots and the system's folders are
// never touched, and a temporary folder must really be one.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/system_folders.h"

namespace purgeon {

// What the folder is about to be used for.
enum class FolderUse {
    temporary,  // emptied without asking: only a dedicated temporary folder
    cookies,    // the cookie folder the registry names: its files are deleted
    wipe,       // chosen by the user: every file below it is shredded
};

enum class FolderVerdict {
    allowed,
    relative,          // not a full path
    unresolvable,      // missing, or cannot be opened
    driveRoot,         // "C:\"
    shareRoot,         // "\\server\share"
    knownFolder,       // one of the system's named folders itself
    holdsKnownFolder,  // a parent of one of them
    notTemporary,      // inside one of them, and not a temporary folder
};

struct FolderCheck {
    FolderVerdict verdict = FolderVerdict::unresolvable;
    std::wstring folder;     // the final path, links resolved; the path as given before that
    std::wstring knownName;  // the named folder the verdict is about
    bool allowed() const { return verdict == FolderVerdict::allowed; }
};

// The path in a plain, comparable spelling: "/" as "\", "\\?\" and "\\?\UNC\" prefixes gone,
// "\\localhost\C$" and "\\127.0.0.1\C$" as "C:", "." and ".." steps applied, trailing dots,
// blanks and separators dropped (a drive root keeps its "\"). Empty for a relative path.
std::wstring plainPath(const std::wstring& path);

// Case-insensitive comparison of two plain paths.
bool samePath(const std::wstring& a, const std::wstring& b);
// True when `inner` lies strictly below `outer` (both plain paths).
bool isBelow(const std::wstring& inner, const std::wstring& outer);

// The rule itself, on resolved plain paths: the known folders and the system's temporary
// folders are given resolved as well.
FolderCheck judgeFolder(const std::wstring& folder, const std::vector<KnownFolder>& known,
                        const std::vector<std::wstring>& systemTemp, FolderUse use);

// Resolves the folder (and the known folders) through the file system and judges it.
FolderCheck checkFolder(FileSystem& files, SystemFolders& folders, const std::wstring& path,
                        FolderUse use);

// Why a folder was refused, as the end of a sentence: "it is the Documents folder".
std::wstring refusalReason(const FolderCheck& check);

}  // namespace purgeon
