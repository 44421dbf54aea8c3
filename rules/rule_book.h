// The entries of a rule file: what each detects, removes and spares, read strictly. An entry with
// any key that cannot be read exactly is left out whole, never read more widely than written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_text.h"

namespace purgeon {

// FileKeyN=<folder>|<pattern>[;<pattern>...][|RECURSE][|REMOVESELF]
struct FileRule {
    std::wstring folder;                 // as written: environment names and wildcards kept
    std::vector<std::wstring> patterns;  // file names with * and ?, never empty
    bool recurse = false;                // every subfolder too
    bool removeSelf = false;             // the folder itself too, once emptied
    // Why the key never runs though it could be read (its folder steps with ".."); empty when
    // it may run.
    std::wstring refusal;
    // Built-in rules only. NAMES: the preview names each file (without its last extension: a
    // shortcut "report.docx.lnk" is the document "report.docx"). ADMIN: the key runs only with
    // administrator rights; without them it is passed over, and the preview says so.
    bool names = false;
    bool adminOnly = false;
    bool operator==(const FileRule&) const = default;
};

// RegKeyN=<key>[|<value name>]: the value, or the whole key.
struct RegRule {
    std::wstring key;
    std::optional<std::wstring> value;
    bool operator==(const RegRule&) const = default;
};

// How a preview names a value it would remove.
enum class ValueNaming {
    none,
    text,   // by its data read as text (a command, a typed path, a search word, a program)
    rot13,  // by its name, which is written in ROT13 (the programs Explorer counts)
};

// RegValuesN=<key>|<pattern>[;<pattern>...][|TEXT|ROT13] (built-in rules only): the values of the
// key whose names match a pattern ("*" any run, "?" any one character, "#" a run of digits). The
// key and the keys below it stay. Parts of the key below its first level may hold "*" and "?",
// matched against the keys there.
struct ValuesRule {
    std::wstring key;
    std::vector<std::wstring> patterns;
    ValueNaming naming = ValueNaming::none;
    bool operator==(const ValuesRule&) const = default;
};

// CountKeysN=<key>|<pattern>[;<pattern>...]|<what they are> (built-in rules only): the preview
// counts the keys directly below the key whose names match ("14 folders with remembered views").
struct KeyCount {
    std::wstring key;
    std::vector<std::wstring> patterns;
    std::wstring what;
    bool operator==(const KeyCount&) const = default;
};

// Operation=<name> (built-in rules only): what an entry clears through the system rather than
// by removing files and registry items.
enum class RuleOperation { none, clipboard, dnsCache };

enum class ExcludeKind {
    file,  // FILE|<folder>\|<pattern>: files of that folder; FILE|<path>: that one file
    path,  // PATH|<folder>\[|<pattern>]: below that folder, every file or the matching ones
    reg,   // REG|<key>[|<value>]
};

struct ExcludeRule {
    ExcludeKind kind = ExcludeKind::file;
    std::wstring target;                 // the folder, the file or the key
    std::vector<std::wstring> patterns;  // empty: every file (path) or the file itself (file)
    std::optional<std::wstring> value;   // reg only
    bool operator==(const ExcludeRule&) const = default;
};

// DetectOS=<min>|<max>: either side may be empty.
struct VersionRange {
    std::optional<std::pair<int, int>> min;
    std::optional<std::pair<int, int>> max;
    bool operator==(const VersionRange&) const = default;
};

struct RuleEntry {
    std::wstring name;  // as written between the brackets
    std::size_t line = 0;
    std::vector<std::wstring> detectKeys;   // registry keys; any one suffices
    std::vector<std::wstring> detectFiles;  // paths, wildcards allowed; any one suffices
    std::optional<VersionRange> detectOs;
    std::vector<FileRule> files;
    std::vector<RegRule> registry;
    std::vector<ExcludeRule> excludes;
    std::vector<ValuesRule> values;   // built-in rules only
    std::vector<KeyCount> keyCounts;  // built-in rules only
    RuleOperation operation = RuleOperation::none;
    // Admin=True (built-in rules only): without administrator rights the entry is refused.
    bool adminOnly = false;
    std::wstring warning;
    std::wstring section;
    std::wstring langSecRef;
    bool defaultOn = false;
    // With no Detect or DetectFile key the entry is always detected.
    bool alwaysDetected() const { return detectKeys.empty() && detectFiles.empty(); }
};

// A line or an entry that was left out, and why.
struct RuleProblem {
    std::size_t line = 0;
    std::wstring entry;  // empty for a line outside any entry
    std::wstring text;   // "FileKey3 has no file pattern"
};

// Which keys a file may use. Every file is read in the community format; the rules shipped inside
// the program for what Windows itself remembers may also use the keys marked "built-in rules
// only". In a community file those keys are unknown, as they always were: the entry is left out.
enum class RuleDialect { community, builtIn };

struct RuleBook {
    RuleEncoding encoding = RuleEncoding::utf8;
    std::vector<RuleEntry> entries;  // in file order
    std::vector<RuleProblem> problems;
    // The entry of that name (as written between the brackets), or null.
    const RuleEntry* find(std::wstring_view name) const;
};

// Reads a whole rule file. Lines starting with ";" are notes; blank lines are skipped.
RuleBook parseRules(std::string_view bytes, RuleDialect dialect = RuleDialect::community);

// "line 12, entry "Foo *": FileKey3 has no file pattern"
std::wstring problemText(const RuleProblem& problem);

}  // namespace purgeon
