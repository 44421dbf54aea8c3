// The registry side of an entry: whole keys and single values (RegKey), the values of a key that
// match (RegValues), and the keys a preview counts (CountKeys), behind the registry guard and the
// exclusions.
#include <algorithm>

#include "rules/remembered_names.h"
#include "rules/rule_names.h"
#include "rules/rule_targets.h"

namespace purgeon {

namespace {

bool registryExcluded(const std::vector<ExcludeRule>& excludes, const std::wstring& key,
                      const std::optional<std::wstring>& value) {
    const std::vector<std::wstring> keyParts = pathParts(key);
    for (const ExcludeRule& exclude : excludes) {
        if (exclude.kind != ExcludeKind::reg) continue;
        const std::vector<std::wstring> kept = pathParts(shortRootKey(exclude.target));
        if (value) {
            // A value is kept by an exclusion of its key, of a key above it, or of itself.
            if (!partsMatch(kept, keyParts, false)) continue;
            if (!exclude.value ||
                (kept.size() == keyParts.size() && equalNoCase(*exclude.value, *value)))
                return true;
        } else if (partsMatch(keyParts, kept, false)) {
            // Removing a whole key would take whatever is kept inside it.
            return true;
        }
    }
    return false;
}

// Every existing key the path names, its wildcard parts matched against the keys there. Keys that
// exist but cannot be listed are noted.
std::vector<std::wstring> matchKeys(RuleScope& scope, const std::wstring& key,
                                    std::vector<std::wstring>& unread) {
    const std::vector<std::wstring> parts = pathParts(key);
    std::vector<std::wstring> current{parts.empty() ? std::wstring() : parts[0]};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::vector<std::wstring> next;
        for (const std::wstring& above : current) {
            if (!hasWildcards(parts[i])) {
                next.push_back(above + L"\\" + parts[i]);
                continue;
            }
            std::vector<std::wstring> names;
            const Status listed = scope.system().listSubkeys(above, names);
            if (!listed && !listed.notFound()) unread.push_back(above);
            for (const std::wstring& name : names)
                if (wildcardMatch(parts[i], name)) next.push_back(above + L"\\" + name);
        }
        current = std::move(next);
    }
    return current;
}

bool anyName(const std::vector<std::wstring>& patterns, const std::wstring& name) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::wstring& pattern) {
        return namePatternMatch(pattern, name);
    });
}

std::wstring rememberedName(const RegistryEntry& value, ValueNaming naming) {
    switch (naming) {
        case ValueNaming::text:
            return valueText(value);
        case ValueNaming::rot13:
            return countedProgram(value.name);
        case ValueNaming::none:
            break;
    }
    return {};
}

void resolveValues(const RuleEntry& entry, const ValuesRule& rule, RuleScope& scope,
                   EntryTargets& targets) {
    for (const std::wstring& key : matchKeys(scope, shortRootKey(rule.key), targets.unreadKeys)) {
        std::vector<RegistryEntry> values;
        const Status listed = scope.system().listValues(key, values);
        if (!listed) {
            if (!listed.notFound()) targets.unreadKeys.push_back(key);
            continue;
        }
        for (const RegistryEntry& value : values) {
            if (!anyName(rule.patterns, value.name)) continue;
            if (registryExcluded(entry.excludes, key, value.name)) {
                ++targets.excluded;
                continue;
            }
            targets.registry.push_back({key, value.name});
            if (std::wstring name = rememberedName(value, rule.naming); !name.empty())
                targets.remembered.push_back(std::move(name));
        }
    }
}

}  // namespace

std::wstring shortRootKey(const std::wstring& key) {
    const std::size_t slash = key.find(L'\\');
    const std::wstring root = registryRoot(key.substr(0, slash));
    if (root.empty()) return key;
    return slash == std::wstring::npos ? root : root + key.substr(slash);
}

std::wstring registryKeyProblem(const std::wstring& key) {
    const std::vector<std::wstring> parts = pathParts(shortRootKey(key));
    if (parts.size() < 2) return L"it is a whole registry root";
    // Under HKU the first level is a user: their whole part of the registry.
    std::vector<std::wstring> below(parts.begin() + (parts[0] == L"HKU" ? 2 : 1), parts.end());
    if (below.empty()) return L"it is a user's whole registry";
    static const wchar_t* const kShared[] = {
        L"software",
        L"software\\classes",
        L"software\\microsoft",
        L"software\\microsoft\\windows",
        L"software\\microsoft\\windows\\currentversion",
        L"software\\microsoft\\windows\\currentversion\\explorer",
        L"software\\microsoft\\windows nt",
        L"software\\microsoft\\windows nt\\currentversion",
        L"software\\policies",
        L"software\\wow6432node",
        L"software\\wow6432node\\microsoft",
        L"software\\wow6432node\\microsoft\\windows",
        L"software\\wow6432node\\microsoft\\windows\\currentversion",
        L"system",
        L"system\\currentcontrolset",
        L"control panel",
        L"environment",
    };
    std::wstring joined;
    for (const std::wstring& part : below)
        joined += (joined.empty() ? L"" : L"\\") + lowerText(part);
    if (below.size() == 1) return L"it is a top-level key (" + below[0] + L")";
    for (const wchar_t* shared : kShared)
        if (joined == shared) return L"it is a key other programs share";
    return {};
}

void resolveRegistry(const RuleEntry& entry, RuleScope& scope, EntryTargets& targets) {
    for (const RegRule& rule : entry.registry) {
        const std::wstring key = shortRootKey(rule.key);
        if (!rule.value) {
            if (const std::wstring problem = registryKeyProblem(key); !problem.empty()) {
                targets.refused.push_back(L"the registry key " + key + L" was refused: " + problem);
                continue;
            }
        }
        if (registryExcluded(entry.excludes, key, rule.value)) {
            ++targets.excluded;
            continue;
        }
        bool exists = false;
        const Status asked = rule.value ? scope.system().valueExists(key, *rule.value, exists)
                                        : scope.system().keyExists(key, exists);
        if (asked && exists) targets.registry.push_back({key, rule.value});
    }
    for (const ValuesRule& rule : entry.values) resolveValues(entry, rule, scope, targets);
    // Counted keys of one kind are told as one number.
    std::vector<std::pair<std::wstring, std::size_t>> counts;
    for (const KeyCount& count : entry.keyCounts) {
        std::size_t found = 0;
        for (const std::wstring& key :
             matchKeys(scope, shortRootKey(count.key), targets.unreadKeys)) {
            std::vector<std::wstring> names;
            if (!scope.system().listSubkeys(key, names)) continue;
            found += static_cast<std::size_t>(std::count_if(
                names.begin(), names.end(),
                [&](const std::wstring& name) { return anyName(count.patterns, name); }));
        }
        auto same = std::find_if(counts.begin(), counts.end(),
                                 [&](const auto& known) { return known.first == count.what; });
        if (same == counts.end()) {
            counts.emplace_back(count.what, found);
        } else {
            same->second += found;
        }
    }
    for (const auto& [what, found] : counts)
        targets.counted.push_back(std::to_wstring(found) + L" " + what);
}

}  // namespace purgeon
