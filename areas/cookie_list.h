// The Cookies tab's list: the files of the cookie folder, and deleting them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/collation.h"
#include "platform/files.h"

namespace purgeon {

struct CookieRow {
    std::wstring name;  // the row's text, column "Cookie Name"
    std::wstring path;  // column "Cookie Path", and the row's key: the file to delete
    bool selected = false;
};

inline constexpr wchar_t kIndexDat[] = L"index.dat";

struct CookieDeletion {
    size_t removed = 0;
    size_t failed = 0;  // still there: in use, or refused
};

class CookieList {
public:
    // Lists every plain file of the folder (hidden, system and read-only ones too; no sub-folders,
    // no descent). The file named exactly "index.dat" is listed only when includeIndexDat is set.
    // beforeEachFile runs once per file, before it is listed. An empty folder path lists nothing.
    // Afterwards only the last row is selected. A folder that cannot be listed lists nothing and
    // gives the failure.
    Status load(FileSystem& files, const std::wstring& folder, bool includeIndexDat,
                const std::function<void()>& beforeEachFile);

    // Deletes the file of every candidate row, last row first: all rows, or the selected ones only.
    // A row goes only when its file is really gone.
    CookieDeletion deleteFiles(FileSystem& files, bool selectedOnly);

    void selectAll();
    void selectNone();
    void invertSelection();
    void setSelected(size_t row, bool selected);

    const std::vector<CookieRow>& rows() const { return m_rows; }

private:
    std::vector<CookieRow> m_rows;
};

// Type-to-find in the list: the first row from start on (wrapping to the top when asked) whose
// name is the wanted text, or starts with it when partial, ignoring case letter by letter; -1 when
// there is none. An empty wanted text matches the start row.
int findCookieRow(const std::vector<CookieRow>& rows, std::wstring_view wanted, bool partial,
                  int start, bool wrap, const Collation& collation);

}  // namespace purgeon
