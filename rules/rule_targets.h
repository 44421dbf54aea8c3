// An entry against this machine: whether it is detected, and the files, folders and registry
// items it would remove, with what the guards spared and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rules/rule_book.h"
#include "rules/rule_scope.h"

namespace purgeon {

// Whether the entry applies here: its Windows versions, then any one of its Detect and
// DetectFile keys (none: always).
bool detectEntry(const RuleEntry& entry, RuleScope& scope);

struct TargetFile {
    std::wstring path;
    std::uint64_t size = 0;
};

// A registry key (whole, with what lies below it) or one value of it.
struct TargetRegistry {
    std::wstring key;  // with the short root: "HKCU\Software\X"
    std::optional<std::wstring> value;
};

struct EntryTargets {
    std::vector<TargetFile> files;  // each once, in the order found
    // Folders to remove once emptied (REMOVESELF), the deepest first.
    std::vector<std::wstring> folders;
    std::vector<TargetRegistry> registry;  // those that exist
    std::size_t excluded = 0;              // files and registry items an ExcludeKey kept
    std::vector<std::wstring> refused;     // "FileKey2: ... was refused: it is the root of a drive"
    std::vector<std::wstring> inUse;       // "Close Chrome to clean it", each browser once
    std::size_t heldBack = 0;              // files left in a running browser's profile
    std::vector<std::wstring> unlisted;    // folders that exist but could not be listed
    std::vector<std::wstring> unreadKeys;  // registry keys that exist but could not be read
    // What the traces remember, named for the preview (documents, commands, programs), and the
    // keys counted for it ("14 folders with remembered views").
    std::vector<std::wstring> remembered;
    std::vector<std::wstring> counted;
    // Keys passed over, and why ("left out without administrator rights: ...").
    std::vector<std::wstring> notes;
    // An entry with an Operation: whether the system holds anything for it to clear; unset when
    // the system does not tell (the resolver's cache).
    std::optional<bool> operationHolds;
    std::uint64_t bytes() const;
};

// What the entry's keys reach now. Nothing is removed. An entry for administrators only is
// refused without those rights.
EntryTargets resolveEntry(const RuleEntry& entry, RuleScope& scope);

// What the entry's registry keys reach now (RegKey, RegValues, CountKeys).
void resolveRegistry(const RuleEntry& entry, RuleScope& scope, EntryTargets& targets);

// The refusal of an entry for administrators only, run without those rights.
inline constexpr wchar_t kNeedsAdminText[] = L"it runs only with administrator rights";

// The registry key with its root as a short name ("HKEY_CURRENT_USER\X" gives "HKCU\X").
std::wstring shortRootKey(const std::wstring& key);

// Why a whole registry key may not be removed by a rule (a root, a shared key such as
// "HKCU\Software\Microsoft"); empty when it may.
std::wstring registryKeyProblem(const std::wstring& key);

}  // namespace purgeon
