// Reading a rule file into entries, strictly: a key that cannot be read exactly leaves its entry
// out, so that no rule ever reaches further than it is written.
#include "rules/rule_book.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "rules/rule_names.h"

namespace purgeon {

namespace {

std::wstring trimmed(std::wstring_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && std::iswspace(text[start])) ++start;
    while (end > start && std::iswspace(text[end - 1])) --end;
    return std::wstring(text.substr(start, end - start));
}

std::vector<std::wstring> split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(
            trimmed(text.substr(start, end == std::wstring_view::npos ? end : end - start)));
        if (end == std::wstring_view::npos) return parts;
        start = end + 1;
    }
}

bool isAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool isKeyword(const std::wstring& word) {
    static const wchar_t* const kKeywords[] = {L"recurse", L"removeself", L"file", L"path", L"reg"};
    for (const wchar_t* keyword : kKeywords)
        if (equalNoCase(word, keyword)) return true;
    return false;
}

bool isStep(const std::wstring& part) { return part == L".." || part == L"."; }

// The path with its "." and ".." parts left out, for the reading checks that follow.
std::wstring withoutSteps(const std::wstring& path) {
    std::wstring kept;
    for (const std::wstring& part : pathParts(path))
        if (!isStep(part)) kept += (kept.empty() ? L"" : L"\\") + part;
    return path.size() >= 3 && path[1] == L':' && kept.size() == 2 ? kept + L"\\" : kept;
}

// Why a folder or file path as written cannot be taken; empty when it can. It must start with
// an environment name the rules know or a drive, and never step up with "..".
std::wstring pathProblem(const std::wstring& path, bool wildcardsAllowed) {
    if (path.empty()) return L"names no folder";
    if (path.find(L'/') != std::wstring::npos) return L"writes a path with \"/\"";
    const bool drive =
        path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
    if (!drive && path[0] != L'%') return L"names a path that is not a full path: " + path;
    for (std::size_t at = 0; (at = path.find(L'%', at)) != std::wstring::npos;) {
        const std::size_t close = path.find(L'%', at + 1);
        if (close == std::wstring::npos) return L"has an unclosed environment name: " + path;
        const std::wstring name = lowerText(path.substr(at + 1, close - at - 1));
        bool known = false;
        for (const std::wstring& candidate : ruleEnvironmentNames()) known |= candidate == name;
        if (!known)
            return L"uses an unknown environment name: %" + path.substr(at + 1, close - at - 1) +
                   L"%";
        at = close + 1;
    }
    if (drive && hasWildcards(path.substr(0, 3))) return L"has a wildcard in its drive";
    for (const std::wstring& part : pathParts(path)) {
        if (isStep(part)) return L"steps with \".\" or \"..\": " + path;
        if (!wildcardsAllowed && hasWildcards(part)) return L"has a wildcard: " + path;
    }
    if (path[0] == L'%' && hasWildcards(pathParts(path).front()))
        return L"has a wildcard in its environment name";
    return {};
}

// A folder as written, without the trailing separators.
std::wstring folderText(std::wstring folder) {
    while (folder.size() > 3 && (folder.back() == L'\\' || std::iswspace(folder.back())))
        folder.pop_back();
    return folder;
}

// The patterns of a file key: names only, never a flag, never empty.
std::wstring readPatterns(const std::wstring& text, std::vector<std::wstring>& patterns) {
    for (const std::wstring& pattern : split(text, L';')) {
        if (pattern.empty()) continue;
        if (isKeyword(pattern))
            return L"has the flag \"" + pattern + L"\" where the file pattern belongs";
        if (pattern.find_first_of(L"\\/:|") != std::wstring::npos)
            return L"has a pattern that is not a file name: " + pattern;
        if (pattern == L"." || pattern == L"..") return L"has the pattern \"" + pattern + L"\"";
        patterns.push_back(pattern);
    }
    if (patterns.empty()) return L"has no file pattern";
    return {};
}

std::wstring readFileKey(const std::wstring& value, RuleDialect dialect, FileRule& rule) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() < 2) return L"has no file pattern";
    // A folder that steps with ".." is read, so that its entry is listed, but never runs: it
    // would reach beyond the folder it names.
    const std::wstring& folder = parts[0];
    const std::vector<std::wstring> folderParts = pathParts(folder);
    const bool steps = std::any_of(folderParts.begin(), folderParts.end(), isStep);
    if (std::wstring problem = pathProblem(steps ? withoutSteps(folder) : folder, true);
        !problem.empty())
        return problem;
    rule.folder = folderText(folder);
    if (steps) rule.refusal = L"it steps with \".\" or \"..\"";
    if (std::wstring problem = readPatterns(parts[1], rule.patterns); !problem.empty())
        return problem;
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (equalNoCase(parts[i], L"recurse") && !rule.recurse) {
            rule.recurse = true;
        } else if (equalNoCase(parts[i], L"removeself") && !rule.removeSelf) {
            rule.removeSelf = true;
        } else if (dialect == RuleDialect::builtIn && equalNoCase(parts[i], L"names") &&
                   !rule.names) {
            rule.names = true;
        } else if (dialect == RuleDialect::builtIn && equalNoCase(parts[i], L"admin") &&
                   !rule.adminOnly) {
            rule.adminOnly = true;
        } else {
            return L"has an unknown or repeated flag: \"" + parts[i] + L"\"";
        }
    }
    return {};
}

// "HKCU\Software\X" with its root spelled either way; the key keeps the root as written.
std::wstring keyProblem(const std::wstring& key) {
    const std::vector<std::wstring> parts = pathParts(key);
    if (parts.empty() || registryRoot(parts[0]).empty())
        return L"names no registry root (HKCU, HKLM, HKCR, HKU): " + key;
    if (parts.size() < 2) return L"names a whole registry root: " + key;
    return {};
}

std::wstring keyText(std::wstring key) {
    while (!key.empty() && (key.back() == L'\\' || std::iswspace(key.back()))) key.pop_back();
    return key;
}

std::wstring readRegKey(const std::wstring& value, RegRule& rule) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() > 2) return L"has more than a key and a value name";
    if (std::wstring problem = keyProblem(parts[0]); !problem.empty()) return problem;
    rule.key = keyText(parts[0]);
    if (parts.size() == 2) {
        if (parts[1].empty()) return L"has an empty value name";
        rule.value = parts[1];
    }
    return {};
}

// The value or key names of a built-in key: never empty, never a path.
std::wstring readNamePatterns(const std::wstring& text, std::vector<std::wstring>& patterns) {
    for (const std::wstring& pattern : split(text, L';')) {
        if (pattern.empty()) continue;
        if (pattern.find(L'\\') != std::wstring::npos)
            return L"has a name pattern that holds \"\\\": " + pattern;
        patterns.push_back(pattern);
    }
    return patterns.empty() ? L"has no name pattern" : std::wstring();
}

// A key whose parts below the first level may hold wildcards.
std::wstring readWildcardKey(const std::wstring& text, std::wstring& key) {
    if (std::wstring problem = keyProblem(text); !problem.empty()) return problem;
    const std::vector<std::wstring> parts = pathParts(text);
    if (hasWildcards(parts[0]) || hasWildcards(parts[1]))
        return L"has a wildcard in its root or first level: " + text;
    key = keyText(text);
    return {};
}

// "<key>|<patterns>", the start of the built-in keys that name keys.
std::wstring readKeyAndPatterns(const std::vector<std::wstring>& parts, std::wstring& key,
                                std::vector<std::wstring>& patterns) {
    if (std::wstring problem = readWildcardKey(parts[0], key); !problem.empty()) return problem;
    return readNamePatterns(parts[1], patterns);
}

// RegValuesN=<key>|<patterns>[|TEXT|ROT13]
std::wstring readValuesKey(const std::wstring& value, ValuesRule& rule) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() < 2) return L"has no value name pattern";
    if (parts.size() > 3) return L"has more than a key, its patterns and a naming";
    if (std::wstring problem = readKeyAndPatterns(parts, rule.key, rule.patterns); !problem.empty())
        return problem;
    if (parts.size() == 3) {
        if (equalNoCase(parts[2], L"text")) {
            rule.naming = ValueNaming::text;
        } else if (equalNoCase(parts[2], L"rot13")) {
            rule.naming = ValueNaming::rot13;
        } else {
            return L"has an unknown naming: \"" + parts[2] + L"\"";
        }
    }
    return {};
}

// CountKeysN=<key>|<patterns>|<what they are>
std::wstring readCountKey(const std::wstring& value, KeyCount& count) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() != 3 || parts[2].empty()) return L"is not <key>|<patterns>|<what they are>";
    if (std::wstring problem = readKeyAndPatterns(parts, count.key, count.patterns);
        !problem.empty())
        return problem;
    count.what = parts[2];
    return {};
}

std::wstring readExcludeKey(const std::wstring& value, ExcludeRule& rule) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() < 2) return L"names nothing to keep";
    if (equalNoCase(parts[0], L"reg")) {
        rule.kind = ExcludeKind::reg;
        RegRule reg;
        const std::wstring rest = value.substr(value.find(L'|') + 1);
        if (std::wstring problem = readRegKey(rest, reg); !problem.empty()) return problem;
        rule.target = reg.key;
        rule.value = reg.value;
        return {};
    }
    if (equalNoCase(parts[0], L"file")) {
        rule.kind = ExcludeKind::file;
    } else if (equalNoCase(parts[0], L"path")) {
        rule.kind = ExcludeKind::path;
    } else {
        return L"starts with \"" + parts[0] + L"\", not FILE, PATH or REG";
    }
    if (parts.size() > 3) return L"has more than a path and its patterns";
    if (std::wstring problem = pathProblem(parts[1], true); !problem.empty()) return problem;
    rule.target = folderText(parts[1]);
    if (parts.size() == 3)
        if (std::wstring problem = readPatterns(parts[2], rule.patterns); !problem.empty())
            return problem;
    return {};
}

bool readVersion(const std::wstring& text, std::optional<std::pair<int, int>>& version) {
    if (text.empty()) return true;
    int major = 0, minor = 0;
    std::size_t i = 0;
    auto number = [&](int& out) {
        const std::size_t start = i;
        while (i < text.size() && std::iswdigit(text[i]) && i - start < 4)
            out = out * 10 + (text[i++] - L'0');
        return i > start;
    };
    if (!number(major)) return false;
    if (i < text.size()) {
        if (text[i++] != L'.' || !number(minor)) return false;
    }
    if (i != text.size()) return false;
    version = std::make_pair(major, minor);
    return true;
}

std::wstring readDetectOs(const std::wstring& value, VersionRange& range) {
    const std::vector<std::wstring> parts = split(value, L'|');
    if (parts.size() != 2 || !readVersion(parts[0], range.min) ||
        !readVersion(parts[1], range.max) || (!range.min && !range.max))
        return L"is not <min>|<max> in Windows version numbers";
    return {};
}

// A key name split into its word and number: "FileKey134" gives "filekey" and 134; "Detect"
// gives "detect" and 0.
bool splitKeyName(const std::wstring& key, std::wstring& word, unsigned long& number,
                  bool& numbered) {
    std::size_t digits = key.size();
    while (digits > 0 && std::iswdigit(key[digits - 1])) --digits;
    word = lowerText(key.substr(0, digits));
    numbered = digits < key.size();
    if (numbered && key.size() - digits > 6) return false;
    number = numbered ? std::stoul(key.substr(digits)) : 0;
    return !numbered || number > 0;
}

// One entry as it is being read; problem is set once a key fails.
struct Reading {
    RuleDialect dialect = RuleDialect::community;
    RuleEntry entry;
    std::set<std::wstring> keys;  // lower case, to refuse a key given twice
    std::wstring problem;
    std::size_t problemLine = 0;
};

std::wstring readKey(Reading& reading, const std::wstring& key, const std::wstring& value) {
    RuleEntry& entry = reading.entry;
    std::wstring word;
    unsigned long number = 0;
    bool numbered = false;
    if (!splitKeyName(key, word, number, numbered))
        return L"has a key number that is not 1 or more";
    if (!reading.keys.insert(lowerText(key)).second) return L"is given twice";
    const bool builtIn = reading.dialect == RuleDialect::builtIn;
    const bool needsNumber = word == L"filekey" || word == L"regkey" || word == L"excludekey" ||
                             (builtIn && (word == L"regvalues" || word == L"countkeys"));
    if (needsNumber && !numbered) return L"has no number";
    const bool mayNumber = needsNumber || word == L"detect" || word == L"detectfile";
    if (numbered && !mayNumber) return L"is not a key of this format";
    if (value.empty()) return L"is empty";

    if (word == L"detect") {
        if (std::wstring problem = keyProblem(value); !problem.empty()) return problem;
        entry.detectKeys.push_back(keyText(value));
    } else if (word == L"detectfile") {
        if (std::wstring problem = pathProblem(value, true); !problem.empty()) return problem;
        entry.detectFiles.push_back(folderText(value));
    } else if (word == L"detectos") {
        VersionRange range;
        if (std::wstring problem = readDetectOs(value, range); !problem.empty()) return problem;
        entry.detectOs = range;
    } else if (word == L"filekey") {
        FileRule rule;
        if (std::wstring problem = readFileKey(value, reading.dialect, rule); !problem.empty())
            return problem;
        entry.files.push_back(std::move(rule));
    } else if (word == L"regkey") {
        RegRule rule;
        if (std::wstring problem = readRegKey(value, rule); !problem.empty()) return problem;
        entry.registry.push_back(std::move(rule));
    } else if (word == L"excludekey") {
        ExcludeRule rule;
        if (std::wstring problem = readExcludeKey(value, rule); !problem.empty()) return problem;
        entry.excludes.push_back(std::move(rule));
    } else if (builtIn && word == L"regvalues") {
        ValuesRule rule;
        if (std::wstring problem = readValuesKey(value, rule); !problem.empty()) return problem;
        entry.values.push_back(std::move(rule));
    } else if (builtIn && word == L"countkeys") {
        KeyCount count;
        if (std::wstring problem = readCountKey(value, count); !problem.empty()) return problem;
        entry.keyCounts.push_back(std::move(count));
    } else if (builtIn && word == L"operation") {
        if (equalNoCase(value, L"clipboard")) {
            entry.operation = RuleOperation::clipboard;
        } else if (equalNoCase(value, L"dnscache")) {
            entry.operation = RuleOperation::dnsCache;
        } else {
            return L"names no operation this program knows";
        }
    } else if (builtIn && word == L"admin") {
        if (!equalNoCase(value, L"true")) return L"is not True";
        entry.adminOnly = true;
    } else if (word == L"warning") {
        entry.warning = value;
    } else if (word == L"section") {
        entry.section = value;
    } else if (word == L"langsecref") {
        entry.langSecRef = value;
    } else if (word == L"default") {
        if (equalNoCase(value, L"true")) {
            entry.defaultOn = true;
        } else if (!equalNoCase(value, L"false")) {
            return L"is neither True nor False";
        }
    } else {
        return L"is not a key this program reads";
    }
    return {};
}

}  // namespace

const RuleEntry* RuleBook::find(std::wstring_view name) const {
    for (const RuleEntry& entry : entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

RuleBook parseRules(std::string_view bytes, RuleDialect dialect) {
    const RuleText text = decodeRuleText(bytes);
    RuleBook book;
    book.encoding = text.encoding;
    std::set<std::wstring> names;
    std::optional<Reading> reading;

    auto finish = [&]() {
        if (!reading) return;
        RuleEntry& entry = reading->entry;
        if (reading->problem.empty() && entry.files.empty() && entry.registry.empty() &&
            entry.values.empty() && entry.operation == RuleOperation::none) {
            reading->problem = L"removes nothing: it has no FileKey and no RegKey";
            reading->problemLine = entry.line;
        }
        if (reading->problem.empty() && !names.insert(entry.name).second) {
            reading->problem = L"has the name of an entry before it";
            reading->problemLine = entry.line;
        }
        if (reading->problem.empty()) {
            book.entries.push_back(std::move(entry));
        } else {
            book.problems.push_back({reading->problemLine, entry.name, reading->problem});
        }
        reading.reset();
    };
    auto fail = [&](std::size_t line, std::wstring problem) {
        if (!reading) {
            book.problems.push_back({line, {}, std::move(problem)});
        } else if (reading->problem.empty()) {
            reading->problem = std::move(problem);
            reading->problemLine = line;
        }
    };

    for (const RuleLine& line : text.lines) {
        if (!line.valid) {
            fail(line.number,
                 L"the line is not text in the file's encoding or holds a control character");
            continue;
        }
        const std::wstring content = trimmed(line.text);
        if (content.empty() || content[0] == L';') continue;
        if (content[0] == L'[') {
            finish();
            reading.emplace();
            reading->dialect = dialect;
            reading->entry.line = line.number;
            if (content.back() != L']' || content.size() < 3) {
                reading->entry.name = content.substr(1);
                fail(line.number, L"the entry's name does not end in \"]\"");
                continue;
            }
            reading->entry.name = content.substr(1, content.size() - 2);
            if (reading->entry.name.find(L'|') != std::wstring::npos)
                fail(line.number, L"the entry's name holds \"|\"");
            continue;
        }
        const std::size_t equals = content.find(L'=');
        if (equals == std::wstring::npos || equals == 0) {
            fail(line.number, L"the line is not <key>=<value>");
            continue;
        }
        if (!reading) {
            fail(line.number, L"the key stands before any entry");
            continue;
        }
        const std::wstring key = trimmed(content.substr(0, equals));
        const std::wstring value = trimmed(content.substr(equals + 1));
        if (std::wstring problem = readKey(*reading, key, value); !problem.empty())
            fail(line.number, key + L" " + problem);
    }
    finish();
    return book;
}

std::wstring problemText(const RuleProblem& problem) {
    std::wstring text = L"line " + std::to_wstring(problem.line);
    if (!problem.entry.empty()) text += L", entry \"" + problem.entry + L"\"";
    return text + L": " + problem.text;
}

}  // namespace purgeon
