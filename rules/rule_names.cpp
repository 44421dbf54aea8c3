// Environment names, registry roots and wildcard matching for the rules.
#include "rules/rule_names.h"

#include <cwctype>
#include <utility>

namespace purgeon {

const std::vector<std::wstring>& ruleEnvironmentNames() {
    static const std::vector<std::wstring> names{
        L"localappdata",    L"appdata",     L"userprofile",        L"programfiles", L"programdata",
        L"windir",          L"systemdrive", L"commonprogramfiles", L"public",       L"temp",
        L"locallowappdata", L"documents",   L"username",
    };
    return names;
}

std::wstring registryRoot(std::wstring_view name) {
    static const std::pair<const wchar_t*, const wchar_t*> kRoots[] = {
        {L"hkcu", L"HKCU"}, {L"hkey_current_user", L"HKCU"},
        {L"hklm", L"HKLM"}, {L"hkey_local_machine", L"HKLM"},
        {L"hkcr", L"HKCR"}, {L"hkey_classes_root", L"HKCR"},
        {L"hku", L"HKU"},   {L"hkey_users", L"HKU"},
    };
    const std::wstring lower = lowerText(name);
    for (const auto& [spelled, shortName] : kRoots)
        if (lower == spelled) return shortName;
    return {};
}

std::wstring lowerText(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

bool hasWildcards(std::wstring_view text) {
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

bool wildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    if (pattern == L"*.*") pattern = L"*";
    // The usual two-pointer walk: a star remembers where to resume when a later step fails.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == L'?' || std::towlower(pattern[p]) == std::towlower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

bool namePatternMatch(std::wstring_view pattern, std::wstring_view name) {
    // Patterns are short and written by us; a plain recursion is clear enough.
    if (pattern.empty()) return name.empty();
    const std::wstring_view rest = pattern.substr(1);
    switch (pattern[0]) {
        case L'*':
            for (std::size_t skip = 0; skip <= name.size(); ++skip)
                if (namePatternMatch(rest, name.substr(skip))) return true;
            return false;
        case L'#':
            for (std::size_t digits = 1;
                 digits <= name.size() && name[digits - 1] >= L'0' && name[digits - 1] <= L'9';
                 ++digits)
                if (namePatternMatch(rest, name.substr(digits))) return true;
            return false;
        case L'?':
            return !name.empty() && namePatternMatch(rest, name.substr(1));
        default:
            return !name.empty() && std::towlower(pattern[0]) == std::towlower(name[0]) &&
                   namePatternMatch(rest, name.substr(1));
    }
}

bool partsMatch(const std::vector<std::wstring>& pattern, const std::vector<std::wstring>& path,
                bool exactLength) {
    if (path.size() < pattern.size() || (exactLength && path.size() != pattern.size()))
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (!wildcardMatch(pattern[i], path[i])) return false;
    return true;
}

std::vector<std::wstring> pathParts(std::wstring_view path) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace purgeon
