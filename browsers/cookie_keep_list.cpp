// The cookie keep list: parsing, storing and matching sites.
#include "browsers/cookie_keep_list.h"

#include <algorithm>
#include <cwctype>

namespace purgeon {

std::wstring plainSite(const std::wstring& host) {
    std::wstring site;
    for (const wchar_t c : host) {
        if (c == L' ' || c == L'\t') continue;
        site += static_cast<wchar_t>(std::towlower(c));
    }
    // "http://example.com/path" as well as "example.com:8080" name the host.
    const size_t scheme = site.find(L"://");
    if (scheme != std::wstring::npos) site.erase(0, scheme + 3);
    const size_t rest = site.find_first_of(L"/:");
    if (rest != std::wstring::npos) site.erase(rest);
    while (!site.empty() && site.back() == L'.') site.pop_back();
    // Leading dots and "www." go until neither is left, so the plain form of a plain form is
    // itself: what is kept after a restart is exactly what was kept before it.
    for (;;) {
        if (!site.empty() && site.front() == L'.') {
            site.erase(0, 1);
        } else if (site.rfind(L"www.", 0) == 0) {
            site.erase(0, 4);
        } else {
            break;
        }
    }
    // A name with an empty label ("a..example.com") names no site, nor does one holding the
    // stored lists' separator, which no host name holds.
    if (site.find(L"..") != std::wstring::npos || site.find(kStoredSeparator) != std::wstring::npos)
        return {};
    return site;
}

std::vector<std::wstring> cookieFileHosts(const std::string& content) {
    // Each cookie is nine lines: name, value, "host/path", flags, four date halves, "*".
    std::vector<std::wstring> hosts;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    for (size_t record = 0; record + 2 < lines.size(); record += 9) {
        const std::string& where = lines[record + 2];
        const std::wstring host = plainSite(std::wstring(where.begin(), where.end()));
        if (!host.empty() && std::find(hosts.begin(), hosts.end(), host) == hosts.end())
            hosts.push_back(host);
    }
    return hosts;
}

std::vector<std::wstring> splitStored(const std::wstring& stored) {
    // Today's form ends every part with "|", which neither a file name nor a host can hold;
    // a value without one is the older form, separated by ";".
    const wchar_t separator = stored.find(kStoredSeparator) != std::wstring::npos
                                  ? kStoredSeparator
                                  : kOldStoredSeparator;
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= stored.size()) {
        size_t end = stored.find(separator, start);
        if (end == std::wstring::npos) end = stored.size();
        if (end > start) parts.push_back(stored.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

CookieKeepList::CookieKeepList(const std::wstring& stored) {
    for (const std::wstring& site : splitStored(stored)) add(site);
}

std::wstring joinStored(const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (const std::wstring& part : parts) {
        if (part.empty() || part.find(kStoredSeparator) != std::wstring::npos) continue;
        text += part + kStoredSeparator;
    }
    return text;
}

std::wstring CookieKeepList::stored() const { return joinStored(m_sites); }

bool CookieKeepList::add(const std::wstring& host) {
    const std::wstring site = plainSite(host);
    if (site.empty() || std::find(m_sites.begin(), m_sites.end(), site) != m_sites.end())
        return false;
    m_sites.push_back(site);
    return true;
}

bool CookieKeepList::remove(const std::wstring& host) {
    const auto found = std::find(m_sites.begin(), m_sites.end(), plainSite(host));
    if (found == m_sites.end()) return false;
    m_sites.erase(found);
    return true;
}

bool CookieKeepList::keeps(const std::wstring& host) const {
    const std::wstring site = plainSite(host);
    if (site.empty()) return false;
    return std::any_of(m_sites.begin(), m_sites.end(), [&](const std::wstring& kept) {
        return site == kept || (site.size() > kept.size() &&
                                site.compare(site.size() - kept.size(), kept.size(), kept) == 0 &&
                                site[site.size() - kept.size() - 1] == L'.');
    });
}

}  // namespace purgeon
