// The names a rule file writes paths and keys with: environment names, registry roots, and
// wildcard matching of names, case ignored throughout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace purgeon {

// The environment names a rule's folder may use, in lower case ("localappdata").
const std::vector<std::wstring>& ruleEnvironmentNames();

// The registry roots, lower case, each with the short name it stands for: "hkey_current_user"
// gives "HKCU". Empty when the text names no root.
std::wstring registryRoot(std::wstring_view name);

std::wstring lowerText(std::wstring_view text);
bool equalNoCase(std::wstring_view a, std::wstring_view b);
bool hasWildcards(std::wstring_view text);

// Whether the name matches the pattern: "*" stands for any run of characters, "?" for any one;
// case is ignored and "[", "]" are plain characters. "*.*" matches every name, with a dot or
// without, as the system's own listing does.
bool wildcardMatch(std::wstring_view pattern, std::wstring_view name);

// Whether a registry value's or key's name matches a built-in rule's pattern: as wildcardMatch,
// and "#" stands for a run of one or more digits ("url#" matches "url1" and "url25", not "url").
bool namePatternMatch(std::wstring_view pattern, std::wstring_view name);

// "a\b\c" split at "\"; empty parts (doubled or trailing separators) are dropped.
std::vector<std::wstring> pathParts(std::wstring_view path);

// Whether the path's parts begin with the pattern's parts, each matched with wildcards; with
// exactLength, whether they are as many.
bool partsMatch(const std::vector<std::wstring>& pattern, const std::vector<std::wstring>& path,
                bool exactLength);

}  // namespace purgeon
