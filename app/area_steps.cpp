// The shared cookie and cache steps over the program's services and log.
#include "app/area_steps.h"

#include "app/program.h"
#include "prefs/registry_text.h"

namespace purgeon {

std::wstring cookieFolder(Program& program) {
    Services& s = program.services();
    return GetRegistryValue(s.registry, s.errors, s.dialogs, kShellFoldersKey, L"Cookies");
}

Status listCookies(Program& program, const std::wstring& folder, CookieList& list,
                   const std::function<void()>& beforeEachFile) {
    const Status status =
        list.load(program.services().files, folder, program.includeIndexDat, beforeEachFile);
    program.logFailure(L"Cookies: " + folder + L" could not be listed", status);
    return status;
}

FolderCheck checkCookieFolder(Program& program, const std::wstring& folder) {
    Services& s = program.services();
    return checkFolder(s.files, s.folders, folder, FolderUse::cookies);
}

std::wstring cookieRefusalText(const FolderCheck& check) {
    return L"The cookie folder " + check.folder + L" was not cleaned: " + refusalReason(check) +
           L".";
}

CookieClearing deleteCookies(Program& program, CookieList& list, const std::wstring& folder,
                             bool selectedOnly) {
    CookieClearing clearing;
    clearing.check.folder = folder;
    if (list.rows().empty()) {
        clearing.deletion = CookieDeletion{};
        return clearing;
    }
    clearing.check = checkCookieFolder(program, folder);
    clearing.refused = !clearing.check.allowed();
    if (clearing.refused) return clearing;

    // The work deletes from its own copies; the caller's list takes it over afterwards.
    CookieList working = list;
    const CookieKeepList keep = program.browsers().keepList();
    CookieDeletion deletion;
    if (!program.runOperation(L"deleting cookies", [&](std::stop_token, ProgressSink&) {
            deletion = working.deleteFiles(program.services().files, selectedOnly, keep);
        })) {
        return clearing;
    }
    list = std::move(working);
    clearing.deletion = deletion;
    std::wstring line = L"Cookies: " + std::to_wstring(deletion.removed) + L" removed";
    if (deletion.failed > 0) line += L", " + std::to_wstring(deletion.failed) + L" still there";
    if (deletion.kept > 0) line += L", " + std::to_wstring(deletion.kept) + L" kept";
    program.log().write(line + L" in " + clearing.check.folder + L".");
    return clearing;
}

Status listCache(Program& program, CacheList& list) {
    const Status status = list.refill(program.services().urlCache);
    program.logFailure(L"Cache: the listing stopped early", status);
    return status;
}

std::optional<CacheDeletion> deleteCache(Program& program, CacheList listed, bool deletePasswords) {
    CacheDeletion deletion;
    if (!program.runOperation(L"clearing the cache", [&](std::stop_token, ProgressSink&) {
            deletion = listed.deleteListed(program.services().urlCache, deletePasswords);
        })) {
        return std::nullopt;
    }
    std::wstring line = L"Cache: " + std::to_wstring(deletion.removed) + L" entries removed";
    if (deletion.refused > 0) line += L", " + std::to_wstring(deletion.refused) + L" refused";
    program.log().write(line + L".");
    return deletion;
}

}  // namespace purgeon
