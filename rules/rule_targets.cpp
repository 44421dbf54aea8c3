// Detecting an entry and finding what its keys reach, behind the folder guard, the exclusions
// and the running browsers.
#include "rules/rule_targets.h"

#include <algorithm>
#include <set>

#include "rules/remembered_names.h"
#include "rules/rule_names.h"
#include "wipe/enum_files.h"
#include "wipe/folder_guard.h"

namespace purgeon {

namespace {

bool isDotName(const std::wstring& name) { return name == L"." || name == L".."; }

// "C:\" and "C:\x" alike give "C:\x\name".
std::wstring childPath(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

bool isFolderLink(std::uint32_t attributes) {
    return (attributes & kAttrDirectory) && (attributes & kAttrReparsePoint);
}

// Every existing folder the path names, its wildcard segments matched against real folders (a
// folder link never matches a wildcard). Folders that cannot be listed are noted.
std::vector<std::wstring> matchFolders(RuleScope& scope, const std::wstring& path,
                                       std::vector<std::wstring>& unlisted) {
    const std::vector<std::wstring> parts = pathParts(path);
    if (parts.empty()) return {};
    const bool drive = parts[0].size() == 2 && parts[0][1] == L':';
    std::vector<std::wstring> current{drive ? parts[0] + L"\\" : parts[0]};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::vector<std::wstring> next;
        if (!hasWildcards(parts[i])) {
            for (const std::wstring& folder : current) next.push_back(childPath(folder, parts[i]));
        } else {
            for (const std::wstring& folder : current) {
                const std::vector<DirEntry>* entries = nullptr;
                const Status listed = scope.listOnce(listingPath(folder), entries);
                if (!listed && !listed.notFound()) unlisted.push_back(folder);
                for (const DirEntry& entry : *entries)
                    if ((entry.attributes & kAttrDirectory) && !isFolderLink(entry.attributes) &&
                        wildcardMatch(parts[i], entry.name))
                        next.push_back(childPath(folder, entry.name));
            }
        }
        current = std::move(next);
    }
    return current;
}

// The entry's file exclusions, their environment names expanded.
struct FileExclusion {
    ExcludeKind kind;
    std::vector<std::wstring> target;  // path parts
    std::vector<std::wstring> patterns;
};

bool excludedFile(const std::vector<FileExclusion>& exclusions, const std::wstring& path) {
    const std::vector<std::wstring> parts = pathParts(path);
    const std::vector<std::wstring> folder(parts.begin(), parts.end() - (parts.empty() ? 0 : 1));
    const std::wstring name = parts.empty() ? std::wstring() : parts.back();
    auto anyPattern = [&](const std::vector<std::wstring>& patterns) {
        return std::any_of(patterns.begin(), patterns.end(),
                           [&](const std::wstring& p) { return wildcardMatch(p, name); });
    };
    for (const FileExclusion& exclusion : exclusions) {
        if (exclusion.kind == ExcludeKind::file) {
            if (exclusion.patterns.empty()
                    ? partsMatch(exclusion.target, parts, true)
                    : partsMatch(exclusion.target, folder, true) && anyPattern(exclusion.patterns))
                return true;
        } else if (partsMatch(exclusion.target, folder, false) &&
                   (exclusion.patterns.empty() || anyPattern(exclusion.patterns))) {
            return true;
        }
    }
    return false;
}

bool matchesAny(const std::vector<std::wstring>& patterns, const std::wstring& name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::wstring& p) { return wildcardMatch(p, name); });
}

bool takesEveryFile(const std::vector<std::wstring>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [](const std::wstring& p) {
        return !p.empty() && p.find_first_not_of(L"*.") == std::wstring::npos &&
               p.find(L'*') != std::wstring::npos;
    });
}

// Walks one folder of a FileKey: its matching files, and its subfolders when it recurses. Links
// are taken as themselves: a file link is a file, a folder link is never entered.
class FolderWalk {
public:
    FolderWalk(RuleScope& scope, const FileRule& rule, const std::vector<FileExclusion>& excluded,
               EntryTargets& targets, std::set<std::wstring>& seen)
        : m_scope(scope), m_rule(rule), m_excluded(excluded), m_targets(targets), m_seen(seen) {}

    void walk(const std::wstring& folder, std::vector<std::wstring>& emptied) {
        std::vector<std::wstring> subfolders;
        const Status listed =
            m_scope.files().listFolder(listingPath(folder), [&](const DirEntry& entry) {
                if (isDotName(entry.name)) return;
                if (entry.attributes & kAttrDirectory) {
                    if (m_rule.recurse && !isFolderLink(entry.attributes))
                        subfolders.push_back(childPath(folder, entry.name));
                    return;
                }
                if (matchesAny(m_rule.patterns, entry.name))
                    take(childPath(folder, entry.name), entry.name, entry.size);
            });
        if (!listed) {
            if (!listed.notFound()) m_targets.unlisted.push_back(folder);
            return;
        }
        for (const std::wstring& subfolder : subfolders) walk(subfolder, emptied);
        emptied.push_back(folder);
    }

private:
    void take(const std::wstring& path, const std::wstring& name, std::uint64_t size) {
        if (excludedFile(m_excluded, path)) {
            ++m_targets.excluded;
            return;
        }
        if (const std::wstring browser = m_scope.browserHolding(path); !browser.empty()) {
            ++m_targets.heldBack;
            if (std::find(m_targets.inUse.begin(), m_targets.inUse.end(), browser) ==
                m_targets.inUse.end())
                m_targets.inUse.push_back(browser);
            return;
        }
        if (!m_seen.insert(lowerText(path)).second) return;
        m_targets.files.push_back({path, size});
        if (m_rule.names) m_targets.remembered.push_back(documentName(name));
    }

    RuleScope& m_scope;
    const FileRule& m_rule;
    const std::vector<FileExclusion>& m_excluded;
    EntryTargets& m_targets;
    std::set<std::wstring>& m_seen;
};

}  // namespace

std::uint64_t EntryTargets::bytes() const {
    std::uint64_t total = 0;
    for (const TargetFile& file : files) total += file.size;
    return total;
}

bool detectEntry(const RuleEntry& entry, RuleScope& scope) {
    if (entry.detectOs) {
        const WindowsVersion version = scope.windowsVersion();
        const std::pair<int, int> running{version.major, version.minor};
        if (entry.detectOs->min && running < *entry.detectOs->min) return false;
        if (entry.detectOs->max && running > *entry.detectOs->max) return false;
    }
    if (entry.alwaysDetected()) return true;
    for (const std::wstring& key : entry.detectKeys) {
        bool exists = false;
        if (scope.system().keyExists(shortRootKey(key), exists) && exists) return true;
    }
    for (const std::wstring& detect : entry.detectFiles) {
        for (const std::wstring& path : scope.expand(detect)) {
            // The last part may name a file or a folder, with wildcards either way.
            const std::vector<std::wstring> parts = pathParts(path);
            if (parts.size() < 2) continue;
            std::wstring parent = parts[0];
            for (std::size_t i = 1; i + 1 < parts.size(); ++i) parent += L"\\" + parts[i];
            std::vector<std::wstring> unlisted;
            for (const std::wstring& folder : matchFolders(scope, parent, unlisted)) {
                const std::vector<DirEntry>* entries = nullptr;
                if (!scope.listOnce(listingPath(folder), entries)) continue;
                for (const DirEntry& item : *entries)
                    if (wildcardMatch(parts.back(), item.name)) return true;
            }
        }
    }
    return false;
}

EntryTargets resolveEntry(const RuleEntry& entry, RuleScope& scope) {
    EntryTargets targets;
    if (entry.adminOnly && !scope.elevated()) {
        targets.refused.push_back(kNeedsAdminText);
        return targets;
    }
    std::vector<FileExclusion> exclusions;
    for (const ExcludeRule& exclude : entry.excludes) {
        if (exclude.kind == ExcludeKind::reg) continue;
        for (const std::wstring& target : scope.expand(exclude.target))
            exclusions.push_back({exclude.kind, pathParts(target), exclude.patterns});
    }

    std::set<std::wstring> seen;
    std::size_t number = 0;
    for (const FileRule& rule : entry.files) {
        ++number;
        if (!rule.refusal.empty()) {
            targets.refused.push_back(L"FileKey " + std::to_wstring(number) + L": the folder " +
                                      rule.folder + L" was refused: " + rule.refusal);
            continue;
        }
        if (rule.adminOnly && !scope.elevated()) {
            targets.notes.push_back(L"left out without administrator rights: " + rule.folder);
            continue;
        }
        for (const std::wstring& expanded : scope.expand(rule.folder)) {
            const std::wstring base = plainPath(expanded);
            if (base.empty()) {
                targets.refused.push_back(L"FileKey " + std::to_wstring(number) + L": " + expanded +
                                          L" is not a full path");
                continue;
            }
            for (const std::wstring& folder : matchFolders(scope, base, targets.unlisted)) {
                const bool emptiesFolder =
                    rule.recurse || rule.removeSelf || takesEveryFile(rule.patterns);
                if (emptiesFolder) {
                    const std::wstring problem = scope.guardProblem(folder);
                    if (problem == L"it does not exist or cannot be opened") continue;
                    if (!problem.empty()) {
                        targets.refused.push_back(L"FileKey " + std::to_wstring(number) +
                                                  L": the folder " + folder + L" was refused: " +
                                                  problem);
                        continue;
                    }
                }
                std::vector<std::wstring> emptied;
                FolderWalk(scope, rule, exclusions, targets, seen).walk(folder, emptied);
                if (!rule.removeSelf) continue;
                // Deepest first: the walk put each folder after its subfolders.
                for (const std::wstring& done : emptied)
                    if (std::find(targets.folders.begin(), targets.folders.end(), done) ==
                        targets.folders.end())
                        targets.folders.push_back(done);
            }
        }
    }

    resolveRegistry(entry, scope, targets);
    return targets;
}

}  // namespace purgeon
