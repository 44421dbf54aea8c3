// Plain path spelling, and the rule that decides which folders may be emptied.
#include "wipe/folder_guard.h"

#include <cwctype>

namespace purgeon {

namespace {

wchar_t lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

bool equalNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && equalNoCase(text.substr(0, prefix.size()), prefix);
}

bool isDriveLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Splits "a\b\c" into its non-empty parts.
std::vector<std::wstring> segments(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\\', start);
        if (end == std::wstring::npos) end = text.size();
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// "\\localhost\C$" and its kin name a local drive.
bool isLocalHost(const std::wstring& server) {
    return equalNoCase(server, L"localhost") || server == L"127.0.0.1" || server == L"." ||
           server == L"?";
}

std::wstring lastSegment(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring plainPath(const std::wstring& path) {
    std::wstring text = path;
    for (wchar_t& c : text) {
        if (c == L'/') c = L'\\';
    }
    if (startsWithNoCase(text, L"\\\\?\\UNC\\")) {
        text = L"\\\\" + text.substr(8);
    } else if (startsWithNoCase(text, L"\\\\?\\") || startsWithNoCase(text, L"\\\\.\\") ||
               startsWithNoCase(text, L"\\??\\")) {
        text = text.substr(4);
    }

    std::wstring root;
    std::vector<std::wstring> parts;
    if (text.rfind(L"\\\\", 0) == 0) {
        parts = segments(text.substr(2));
        if (parts.size() < 2) return {};  // a server without a share
        const std::wstring& share = parts[1];
        if (isLocalHost(parts[0]) && share.size() == 2 && isDriveLetter(share[0]) &&
            share[1] == L'$') {
            root = std::wstring(1, static_cast<wchar_t>(std::towupper(share[0]))) + L":";
        } else if (parts[0] == L"?" || parts[0] == L".") {
            return {};  // a device path with a doubled slash, not a server's share
        } else {
            root = L"\\\\" + parts[0] + L"\\" + share;
        }
        parts.erase(parts.begin(), parts.begin() + 2);
    } else if (text.size() >= 3 && isDriveLetter(text[0]) && text[1] == L':' && text[2] == L'\\') {
        root = std::wstring(1, static_cast<wchar_t>(std::towupper(text[0]))) + L":";
        parts = segments(text.substr(3));
    } else {
        return {};  // relative, or relative to a drive's current folder
    }

    std::vector<std::wstring> kept;
    for (std::wstring part : parts) {
        while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) {
            if (part == L"." || part == L"..") break;
            part.pop_back();
        }
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::wstring result = root;
    for (const std::wstring& part : kept) result += L"\\" + part;
    if (kept.empty() && root.size() == 2) result += L"\\";  // "C:\"
    return result;
}

bool samePath(const std::wstring& a, const std::wstring& b) { return equalNoCase(a, b); }

bool isBelow(const std::wstring& inner, const std::wstring& outer) {
    if (outer.empty() || inner.size() <= outer.size()) return false;
    if (!startsWithNoCase(inner, outer)) return false;
    return outer.back() == L'\\' || inner[outer.size()] == L'\\';
}

FolderCheck judgeFolder(const std::wstring& folder, const std::vector<KnownFolder>& known,
                        const std::vector<std::wstring>& systemTemp, FolderUse use) {
    FolderCheck check{FolderVerdict::allowed, folder, {}};
    auto refuse = [&](FolderVerdict verdict, const std::wstring& name = {}) {
        check.verdict = verdict;
        check.knownName = name;
        return check;
    };
    if (folder.empty()) return refuse(FolderVerdict::relative);
    if (folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\')
        return refuse(FolderVerdict::driveRoot);
    if (folder.rfind(L"\\\\", 0) == 0 && segments(folder.substr(2)).size() <= 2)
        return refuse(FolderVerdict::shareRoot);

    for (const KnownFolder& k : known) {
        if (!k.path.empty() && samePath(folder, k.path))
            return refuse(FolderVerdict::knownFolder, k.name);
    }
    for (const KnownFolder& k : known) {
        if (isBelow(k.path, folder)) return refuse(FolderVerdict::holdsKnownFolder, k.name);
    }
    if (use != FolderUse::temporary) return check;

    // Inside a named folder only a temporary folder may be emptied unasked.
    const KnownFolder* innermost = nullptr;
    for (const KnownFolder& k : known) {
        if (isBelow(folder, k.path) && (!innermost || k.path.size() > innermost->path.size()))
            innermost = &k;
    }
    if (!innermost) return check;
    for (const std::wstring& temp : systemTemp) {
        if (samePath(folder, temp)) return check;
    }
    const std::wstring name = lastSegment(folder);
    if (equalNoCase(name, L"temp") || equalNoCase(name, L"tmp")) return check;
    return refuse(FolderVerdict::notTemporary, innermost->name);
}

FolderCheck checkFolder(FileSystem& files, SystemFolders& folders, const std::wstring& path,
                        FolderUse use) {
    const std::wstring plain = plainPath(path);
    if (plain.empty()) return {FolderVerdict::relative, path, {}};
    // Everything is compared in its final spelling, so a link or a short name hides nothing.
    auto resolved = [&](const std::wstring& raw) {
        const std::wstring given = plainPath(raw);
        std::wstring final;
        if (given.empty() || !files.resolveFolder(given, final)) return given;
        const std::wstring plainFinal = plainPath(final);
        return plainFinal.empty() ? given : plainFinal;
    };
    std::wstring final;
    if (!files.resolveFolder(plain, final) || plainPath(final).empty())
        return {FolderVerdict::unresolvable, plain, {}};

    std::vector<KnownFolder> known = folders.knownFolders();
    for (KnownFolder& k : known) k.path = resolved(k.path);
    std::vector<std::wstring> temps = folders.systemTempFolders();
    for (std::wstring& temp : temps) temp = resolved(temp);
    return judgeFolder(plainPath(final), known, temps, use);
}

std::wstring refusalReason(const FolderCheck& check) {
    switch (check.verdict) {
        case FolderVerdict::allowed:
            return L"it may be emptied";
        case FolderVerdict::relative:
            return L"it is not a full path";
        case FolderVerdict::unresolvable:
            return L"it does not exist or cannot be opened";
        case FolderVerdict::driveRoot:
            return L"it is the root of a drive";
        case FolderVerdict::shareRoot:
            return L"it is the root of a network share";
        case FolderVerdict::knownFolder:
            return L"it is the " + check.knownName + L" folder";
        case FolderVerdict::holdsKnownFolder:
            return L"it holds the " + check.knownName + L" folder";
        case FolderVerdict::notTemporary:
            return L"it lies inside the " + check.knownName +
                   L" folder and is not a temporary folder";
    }
    return {};
}

}  // namespace purgeon
