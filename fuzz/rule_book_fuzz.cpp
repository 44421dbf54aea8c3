// Fuzz target: the rule-file reader, from the file's bytes in any encoding. What it keeps never
// reaches further than written, written out again it reads back the same, and the built-in rules'
// reading takes every community entry as it is.
#include <cstdint>
#include <string>

#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"
#include "rules/rule_book.h"
#include "rules/rule_names.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

bool fullPath(const std::wstring& path) {
    if (path.empty()) return false;
    if (path[0] == L'%') return true;
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

bool noStepUp(const std::wstring& path) {
    for (const std::wstring& part : pathParts(path))
        if (part == L"." || part == L"..") return false;
    return true;
}

void checkPatterns(const std::vector<std::wstring>& patterns) {
    for (const std::wstring& pattern : patterns) {
        check(!pattern.empty(), "no pattern is empty");
        check(pattern.find_first_of(L"\\/:|;") == std::wstring::npos,
              "a pattern is a file name only", shown(pattern));
        for (const wchar_t* flag : {L"recurse", L"removeself", L"file", L"path", L"reg"})
            check(!equalNoCase(pattern, flag), "no flag stands for a pattern", shown(pattern));
    }
}

void checkKey(const std::wstring& key) {
    const std::vector<std::wstring> parts = pathParts(key);
    check(parts.size() >= 2 && !registryRoot(parts[0]).empty(),
          "a registry key has a root and a key below it", shown(key));
}

std::wstring list(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items) text += (text.empty() ? L"" : L";") + item;
    return text;
}

std::wstring version(const std::optional<std::pair<int, int>>& v) {
    return v ? std::to_wstring(v->first) + L"." + std::to_wstring(v->second) : L"";
}

// The entries written out again as a rule file.
std::wstring written(const RuleBook& book) {
    std::wstring text;
    for (const RuleEntry& e : book.entries) {
        text += L"[" + e.name + L"]\r\n";
        std::size_t n = 0;
        for (const std::wstring& key : e.detectKeys)
            text += L"Detect" + std::to_wstring(++n) + L"=" + key + L"\r\n";
        n = 0;
        for (const std::wstring& file : e.detectFiles)
            text += L"DetectFile" + std::to_wstring(++n) + L"=" + file + L"\r\n";
        if (e.detectOs)
            text +=
                L"DetectOS=" + version(e.detectOs->min) + L"|" + version(e.detectOs->max) + L"\r\n";
        n = 0;
        for (const FileRule& rule : e.files)
            text += L"FileKey" + std::to_wstring(++n) + L"=" + rule.folder + L"|" +
                    list(rule.patterns) + (rule.recurse ? L"|RECURSE" : L"") +
                    (rule.removeSelf ? L"|REMOVESELF" : L"") + L"\r\n";
        n = 0;
        for (const RegRule& rule : e.registry)
            text += L"RegKey" + std::to_wstring(++n) + L"=" + rule.key +
                    (rule.value ? L"|" + *rule.value : L"") + L"\r\n";
        n = 0;
        for (const ExcludeRule& rule : e.excludes) {
            const wchar_t* kind = rule.kind == ExcludeKind::file   ? L"FILE|"
                                  : rule.kind == ExcludeKind::path ? L"PATH|"
                                                                   : L"REG|";
            text += L"ExcludeKey" + std::to_wstring(++n) + L"=" + kind + rule.target;
            if (!rule.patterns.empty()) text += L"|" + list(rule.patterns);
            if (rule.value) text += L"|" + *rule.value;
            text += L"\r\n";
        }
        if (!e.warning.empty()) text += L"Warning=" + e.warning + L"\r\n";
        if (!e.section.empty()) text += L"Section=" + e.section + L"\r\n";
        if (!e.langSecRef.empty()) text += L"LangSecRef=" + e.langSecRef + L"\r\n";
        if (e.defaultOn) text += L"Default=True\r\n";
    }
    return text;
}

bool sameEntry(const RuleEntry& a, const RuleEntry& b) {
    return a.name == b.name && a.detectKeys == b.detectKeys && a.detectFiles == b.detectFiles &&
           a.detectOs == b.detectOs && a.files == b.files && a.registry == b.registry &&
           a.excludes == b.excludes && a.warning == b.warning && a.section == b.section &&
           a.langSecRef == b.langSecRef && a.defaultOn == b.defaultOn;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RuleBook book = parseRules(bytesOf(data, size));
    for (const RuleEntry& entry : book.entries) {
        check(!entry.name.empty() && entry.name.find(L'|') == std::wstring::npos,
              "an entry has a name that can be stored", shown(entry.name));
        check(!entry.files.empty() || !entry.registry.empty(), "an entry removes something",
              shown(entry.name));
        check(book.find(entry.name) == &entry, "names are unique", shown(entry.name));
        for (const FileRule& rule : entry.files) {
            check(fullPath(rule.folder), "a folder is a full path", shown(rule.folder));
            check(noStepUp(rule.folder) != !rule.refusal.empty(),
                  "a folder that steps up is refused, and only such a folder", shown(rule.folder));
            check(!rule.patterns.empty(), "a file key always has a pattern", shown(rule.folder));
            checkPatterns(rule.patterns);
        }
        for (const std::wstring& file : entry.detectFiles)
            check(fullPath(file) && noStepUp(file), "a detected path is a full path", shown(file));
        for (const std::wstring& key : entry.detectKeys) checkKey(key);
        for (const RegRule& rule : entry.registry) {
            checkKey(rule.key);
            check(!rule.value || !rule.value->empty(), "a value name is never empty");
        }
        for (const ExcludeRule& rule : entry.excludes) {
            if (rule.kind == ExcludeKind::reg) {
                checkKey(rule.target);
            } else {
                check(fullPath(rule.target) && noStepUp(rule.target),
                      "an excluded path is a full path", shown(rule.target));
                checkPatterns(rule.patterns);
            }
        }
    }
    // The built-in rules take a few keys more and nothing else: every entry a community file
    // gives, they read the same (unless an entry before it, which only they read, took its name).
    const RuleBook builtIn = parseRules(bytesOf(data, size), RuleDialect::builtIn);
    for (const RuleEntry& entry : book.entries) {
        const RuleEntry* same = builtIn.find(entry.name);
        if (same != nullptr && same->line < entry.line) continue;
        check(same != nullptr && sameEntry(entry, *same) && same->values.empty() &&
                  same->keyCounts.empty() && same->operation == RuleOperation::none &&
                  !same->adminOnly,
              "the built-in rules read a community entry as it is", shown(entry.name));
    }
    for (const RuleEntry& entry : builtIn.entries) {
        for (const ValuesRule& rule : entry.values) {
            checkKey(rule.key);
            for (const std::wstring& pattern : rule.patterns)
                check(!pattern.empty() && pattern.find(L'\\') == std::wstring::npos,
                      "a value pattern is a name", shown(pattern));
        }
        for (const KeyCount& count : entry.keyCounts) {
            checkKey(count.key);
            check(!count.patterns.empty() && !count.what.empty(), "a count names what it counts",
                  shown(count.key));
        }
        check(!entry.files.empty() || !entry.registry.empty() || !entry.values.empty() ||
                  entry.operation != RuleOperation::none,
              "a built-in entry does something", shown(entry.name));
    }
    const std::wstring again = written(book);
    const RuleBook reread = parseRules(toUtf8(again));
    check(reread.problems.empty(), "the entries written out read back without a problem",
          shown(again));
    check(reread.entries.size() == book.entries.size(), "as many entries read back", shown(again));
    for (std::size_t i = 0; i < book.entries.size() && i < reread.entries.size(); ++i)
        check(sameEntry(book.entries[i], reread.entries[i]), "each entry reads back the same",
              shown(book.entries[i].name));
    return 0;
}
