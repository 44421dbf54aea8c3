// The Cookies tab's list: the files of the cookie folder and the browsers' cookies, their
// columns and order, and deleting the files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "browsers/browser_cookies.h"
#include "browsers/cookie_keep_list.h"
#include "platform/collation.h"
#include "platform/files.h"

namespace purgeon {

// Columns: "Site", "Cookie Name", "Browser", "Size".
inline constexpr std::size_t kCookieColumns = 4;

struct CookieRow {
    CookieRow() = default;
    CookieRow(std::wstring rowName, std::wstring rowPath, bool rowSelected = false)
        : name(std::move(rowName)), path(std::move(rowPath)), selected(rowSelected) {}

    std::wstring name;  // column "Cookie Name": the file's name, or the cookie's
    std::wstring path;  // the row's key: the file to delete (a browser's: its site and path)
    bool selected = false;
    std::wstring site;        // column "Site": "example.com"
    std::uint64_t bytes = 0;  // column "Size": the file's, or the cookie's name and value
    // A browser's cookie rather than a file of the cookie folder: the title of its profile
    // ("Chrome (Default)"), the profile's place in the program's list, and the cookie itself.
    std::wstring browser;
    std::size_t profile = 0;
    BrowserCookie cookie;
    bool fromBrowser() const { return !browser.empty(); }
};

// Column "Browser" of a cookie file's row.
inline constexpr wchar_t kCookieFolderBrowser[] = L"Internet Explorer";

inline constexpr wchar_t kIndexDat[] = L"index.dat";

struct CookieDeletion {
    size_t removed = 0;
    size_t failed = 0;  // still there: in use, or refused
    size_t kept = 0;    // spared by the keep list
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

    // Deletes the file of every candidate row, last row first: all file rows, or the selected
    // ones only. A file that holds a cookie of a kept site stays. A row goes only when its file
    // is really gone. Browser rows are left to the caller.
    CookieDeletion deleteFiles(FileSystem& files, bool selectedOnly,
                               const CookieKeepList& keep = {});

    // Adds a profile's cookies, none of them selected: after the rows there are, or in the
    // order sorted by (then the collation is needed).
    void appendBrowserCookies(const std::wstring& browser, std::size_t profile,
                              const std::vector<BrowserCookie>& cookies,
                              const Collation* collation = nullptr);

    void selectAll();
    void selectNone();
    void invertSelection();
    void setSelected(size_t row, bool selected);

    // Sorts the rows by a column (from 0; the same column again turns the order round; sizes as
    // numbers, texts by the collation); rows added later join that order. The selection moves
    // with its rows.
    void sortBy(int column, const Collation& collation);
    // Sorts by the column (-1: the listing's order) in the direction given.
    void setSort(int column, bool ascending, const Collation& collation);
    int sortColumn() const { return m_sortColumn; }
    bool ascending() const { return m_ascending; }

    const std::vector<CookieRow>& rows() const { return m_rows; }

private:
    void resort(const Collation& collation);

    std::vector<CookieRow> m_rows;
    int m_sortColumn = -1;  // the listing's order
    bool m_ascending = true;
};

// The text of a row's column (from 0).
std::wstring cookieColumnText(const CookieRow& row, std::size_t column);
// The site a cookie file of the folder is for: "user@example[2].txt" is "example".
std::wstring cookieFileSite(const std::wstring& fileName);

// Type-to-find in the list: the first row from start on (wrapping to the top when asked) whose
// site (the first column) is the wanted text, or starts with it when partial, ignoring case letter
// by letter; -1 when there is none. An empty wanted text matches the start row.
int findCookieRow(const std::vector<CookieRow>& rows, std::wstring_view wanted, bool partial,
                  int start, bool wrap, const Collation& collation);

}  // namespace purgeon
