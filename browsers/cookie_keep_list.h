// The sites whose cookies are never deleted, by hand or automatically, in any browser.
#pragma once

#include <string>
#include <vector>

namespace purgeon {

class CookieKeepList {
public:
    CookieKeepList() = default;
    // Reads the stored form; empty parts and repeats are dropped.
    explicit CookieKeepList(const std::wstring& stored);

    // The stored form: the sites in the order they were added, each followed by "|".
    std::wstring stored() const;
    const std::vector<std::wstring>& sites() const { return m_sites; }

    // Adds a host's site (its plain form); false when it was kept already or is empty.
    bool add(const std::wstring& host);
    bool remove(const std::wstring& host);

    // Whether a cookie of this host is kept: the host is a kept site or below one. Case, a
    // leading "." and a leading "www." do not matter; "example.com" keeps "a.example.com" but
    // not "badexample.com".
    bool keeps(const std::wstring& host) const;

private:
    std::vector<std::wstring> m_sites;
};

// Stored lists (hosts, profile keys) end each part with "|", which no host and no Windows file
// name can hold; the older form separated them with ";", which a folder name may hold.
inline constexpr wchar_t kStoredSeparator = L'|';
inline constexpr wchar_t kOldStoredSeparator = L';';

// The parts of a stored list, of either form, empty ones dropped.
std::vector<std::wstring> splitStored(const std::wstring& stored);
// The parts in today's form, as splitStored reads them; a part that is empty or holds "|"
// cannot be stored and is left out.
std::wstring joinStored(const std::vector<std::wstring>& parts);

// "www.Example.com." and ".example.com" both give "example.com": lower case, no leading dots,
// no "www.", no trailing dot, no port; empty for a name with an empty label or a "|". The plain
// form of a plain form is itself.
std::wstring plainSite(const std::wstring& host);

// The sites an old-style cookie file holds cookies of: the third line of each nine-line record
// ("example.com/path"). Host names are plain ASCII.
std::vector<std::wstring> cookieFileHosts(const std::string& content);

}  // namespace purgeon
