// Environment names, the folder guard and the running browsers, as the rules meet them.
#include "rules/rule_scope.h"

#include "browsers/profile_lock.h"
#include "rules/rule_names.h"
#include "wipe/folder_guard.h"

namespace purgeon {

RuleScope::RuleScope(FileSystem& files, SystemFolders& folders, TraceSystem& system,
                     std::vector<BrowserProfile> profiles)
    : m_files(files), m_folders(folders), m_system(system) {
    for (BrowserProfile& profile : profiles) {
        GuardedProfile guarded;
        for (const std::wstring& folder : {profile.folder, profile.cacheFolder}) {
            const std::wstring plain = plainPath(folder);
            if (!plain.empty()) guarded.folders.push_back(plain);
        }
        const std::size_t slash = profile.lockFile.find_last_of(L'\\');
        if (slash != std::wstring::npos) {
            const std::wstring lockFolder = plainPath(profile.lockFile.substr(0, slash));
            if (!lockFolder.empty()) guarded.folders.push_back(lockFolder);
        }
        guarded.closeText = closeBrowserText(profile);
        guarded.profile = std::move(profile);
        m_profiles.push_back(std::move(guarded));
    }
}

std::vector<std::wstring> RuleScope::expand(const std::wstring& path) {
    std::vector<std::wstring> results{L""};
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t open = path.find(L'%', at);
        const std::size_t close =
            open == std::wstring::npos ? std::wstring::npos : path.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            for (std::wstring& result : results) result += path.substr(at);
            break;
        }
        for (std::wstring& result : results) result += path.substr(at, open - at);
        const std::wstring name = lowerText(path.substr(open + 1, close - open - 1));
        auto found = m_places.find(name);
        if (found == m_places.end()) {
            std::vector<std::wstring> values;
            for (std::wstring value : m_system.place(name)) {
                while (value.size() > 3 && value.back() == L'\\') value.pop_back();
                if (!value.empty()) values.push_back(value);
            }
            found = m_places.emplace(name, std::move(values)).first;
        }
        std::vector<std::wstring> grown;
        for (const std::wstring& result : results)
            for (const std::wstring& value : found->second) grown.push_back(result + value);
        results = std::move(grown);
        at = close + 1;
    }
    // A place that is a drive root ends in "\" already: "C:\\Foo" reads as "C:\Foo"; a drive
    // alone is its root.
    for (std::wstring& result : results) {
        for (std::size_t doubled; (doubled = result.find(L"\\\\", 2)) != std::wstring::npos;)
            result.erase(doubled, 1);
        if (result.size() == 2 && result[1] == L':') result += L'\\';
    }
    return results;
}

void RuleScope::loadKnownFolders() {
    if (m_knownLoaded) return;
    m_knownLoaded = true;
    auto resolved = [&](const std::wstring& raw) {
        const std::wstring given = plainPath(raw);
        std::wstring final;
        if (given.empty() || !m_files.resolveFolder(given, final)) return given;
        const std::wstring plainFinal = plainPath(final);
        return plainFinal.empty() ? given : plainFinal;
    };
    m_known = m_folders.knownFolders();
    for (KnownFolder& known : m_known) known.path = resolved(known.path);
    m_temps = m_folders.systemTempFolders();
    for (std::wstring& temp : m_temps) temp = resolved(temp);
}

std::wstring RuleScope::guardProblem(const std::wstring& folder) {
    const std::wstring plain = plainPath(folder);
    if (plain.empty()) return L"it is not a full path";
    std::wstring final;
    if (!m_files.resolveFolder(plain, final) || plainPath(final).empty())
        return L"it does not exist or cannot be opened";
    loadKnownFolders();
    const FolderCheck check = judgeFolder(plainPath(final), m_known, m_temps, FolderUse::wipe);
    return check.allowed() ? std::wstring() : refusalReason(check);
}

std::wstring RuleScope::browserHolding(const std::wstring& path) {
    const std::wstring plain = plainPath(path);
    for (GuardedProfile& guarded : m_profiles) {
        bool inside = false;
        for (const std::wstring& folder : guarded.folders)
            inside = inside || samePath(plain, folder) || isBelow(plain, folder);
        if (!inside) continue;
        if (!guarded.inUse) guarded.inUse = profileInUse(m_files, guarded.profile);
        if (*guarded.inUse) return guarded.closeText;
    }
    return {};
}

Status RuleScope::listOnce(const std::wstring& folder, const std::vector<DirEntry>*& entries) {
    const std::wstring key = lowerText(folder);
    auto found = m_listings.find(key);
    if (found == m_listings.end()) {
        Listing listing;
        listing.status = m_files.listFolder(folder, [&](const DirEntry& entry) {
            if (entry.name != L"." && entry.name != L"..") listing.entries.push_back(entry);
        });
        found = m_listings.emplace(key, std::move(listing)).first;
    }
    entries = &found->second.entries;
    return found->second.status;
}

WindowsVersion RuleScope::windowsVersion() {
    if (!m_version) m_version = m_system.windowsVersion();
    return *m_version;
}

bool RuleScope::elevated() {
    if (!m_elevated) m_elevated = m_system.elevated();
    return *m_elevated;
}

}  // namespace purgeon
