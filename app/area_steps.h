// The cookie and cache steps that the window's buttons, the automatic runs and the command line
// share: listing afresh, the guard, the deletion and its line in the log.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "areas/cache_list.h"
#include "areas/cookie_list.h"
#include "wipe/folder_guard.h"

namespace purgeon {

class Program;

// The cookie folder the registry names. When the value cannot be read the system's words are
// shown in a box (in a run without windows, written to the log) and the result is empty.
std::wstring cookieFolder(Program& program);

// Lists the folder's cookie files into the list (see CookieList::load, with the program's
// includeIndexDat); a folder that cannot be listed leaves a line in the log.
Status listCookies(
    Program& program, const std::wstring& folder, CookieList& list,
    const std::function<void()>& beforeEachFile = [] {});

// The cookie folder as the folder guard judges it.
FolderCheck checkCookieFolder(Program& program, const std::wstring& folder);
// "The cookie folder C:\Users\me\Documents was not cleaned: it is the Documents folder."
std::wstring cookieRefusalText(const FolderCheck& check);

struct CookieClearing {
    bool refused = false;                    // the guard refused the folder: check says why
    FolderCheck check;                       // not asked for an empty list
    std::optional<CookieDeletion> deletion;  // empty: nothing was deleted
};

// The one way cookie files are deleted: once the folder passes the guard, deletes the files of
// the list's rows (all of them, or the selected ones only; never a file that holds a cookie of a
// site on the program's keep list) as an operation, and the rows of the
// files that went leave the list. Writes what it removed to the log; a refusal is the caller's
// to tell. An empty list deletes nothing and asks no guard.
CookieClearing deleteCookies(Program& program, CookieList& list, const std::wstring& folder,
                             bool selectedOnly);

// Lists the URL cache afresh into the list; a walk that breaks off leaves a line in the log.
Status listCache(Program& program, CacheList& list);

// Deletes the entries of its own copy of the list as an operation, sparing the cookie and password
// rows unless deletePasswords is set, and writes what it removed to the log. Empty when it did not
// run (another operation was running, or it was stopped).
std::optional<CacheDeletion> deleteCache(Program& program, CacheList listed, bool deletePasswords);

}  // namespace purgeon
