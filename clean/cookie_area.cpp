// The cookie folder's preview and clean, and the ticked browsers' cookies along with it.
#include "clean/cookie_area.h"

#include <optional>

#include "clean/browser_area.h"
#include "clean/failure_text.h"
#include "prefs/registry_text.h"

namespace purgeon {

namespace {

// The cookie folder and its files, as both the preview and the clean start.
struct CookieListing {
    std::wstring folder;
    CookieList list;
    std::optional<AreaResult> failed;
};

CookieListing listCookieFolder(CleanContext& context) {
    CookieListing listing;
    listing.folder = cookieFolder(context);
    if (listing.folder.empty()) {
        listing.failed = leftAlone(L"the system names no cookie folder");
        return listing;
    }
    const Status listed = listCookies(context, listing.folder, listing.list);
    if (!listed) {
        listing.failed =
            leftAlone(listing.folder + L" could not be listed: " + wordsInLine(context, listed));
    }
    return listing;
}

FolderCheck checkCookieFolder(CleanContext& context, const std::wstring& folder) {
    return checkFolder(context.services.files, context.services.folders, folder,
                       FolderUse::cookies);
}

AreaResult previewCookies(CleanContext& context) {
    CookieListing listing = listCookieFolder(context);
    if (listing.failed) return *listing.failed;
    AreaResult result;
    result.count = listing.list.rows().size();
    result.bytes = 0;
    result.place = listing.folder;
    if (listing.list.rows().empty()) return result;
    const FolderCheck check = checkCookieFolder(context, listing.folder);
    if (!check.allowed()) return leftAlone(refusedText(check));
    result.place = check.folder;
    for (const CookieRow& row : listing.list.rows()) {
        std::uint64_t size = 0;
        if (context.services.files.fileSize(row.path, size)) *result.bytes += size;
    }
    return result;
}

// Deletes the files of the list's rows (all of them, or the selected ones only; never a file
// that holds a cookie of a site on the keep list) once the folder passes the guard. The rows of
// the files that went leave the list. An empty list deletes nothing and asks no guard.
AreaResult deleteListed(CleanContext& context, CookieList& list, const std::wstring& folder) {
    AreaResult result;
    result.count = 0;
    result.place = folder;
    if (list.rows().empty()) return result;
    const FolderCheck check = checkCookieFolder(context, folder);
    if (!check.allowed()) {
        result = leftAlone(refusedText(check));
        result.refused = check;
        result.log.push_back(L"Cookies: " + cookieRefusalText(check));
        return result;
    }
    // The work deletes from its own copy; the list takes it over afterwards.
    CookieList working = list;
    const CookieKeepList keep = context.browsers.keepList();
    const bool selectedOnly = context.shown.selectedCookiesOnly;
    CookieDeletion deletion;
    if (!context.operations.runOperation(L"deleting cookies", [&](std::stop_token, ProgressSink&) {
            deletion = working.deleteFiles(context.services.files, selectedOnly, keep);
        })) {
        return leftAlone(L"another operation was running");
    }
    list = std::move(working);
    result.count = deletion.removed;
    result.place = check.folder;
    if (deletion.failed > 0) {
        result.done = false;
        result.why = std::to_wstring(deletion.failed) +
                     L" still there (in use by another program, or refused)";
    }
    std::wstring line = L"Cookies: " + std::to_wstring(deletion.removed) + L" removed";
    if (deletion.failed > 0) line += L", " + std::to_wstring(deletion.failed) + L" still there";
    if (deletion.kept > 0) line += L", " + std::to_wstring(deletion.kept) + L" kept";
    result.log.push_back(line + L" in " + check.folder + L".");
    return result;
}

AreaResult cleanCookies(CleanContext& context) {
    CookieListing fresh;
    if (!context.shown.cookies) {
        fresh = listCookieFolder(context);
        if (fresh.failed) return *fresh.failed;
    }
    CookieList& list = context.shown.cookies ? *context.shown.cookies : fresh.list;
    const std::wstring folder =
        context.shown.cookieFolder ? *context.shown.cookieFolder : fresh.folder;
    // The listing before the first deletion is the last to show "index.dat".
    context.state.includeIndexDat = false;
    const bool listedNone = list.rows().empty();
    AreaResult result = deleteListed(context, list, folder);
    // A refused cookie folder keeps its files; the browsers' cookies go all the same.
    if (context.withBrowsers && !listedNone && (result.ran || result.refused))
        addBrowsersPart(result, kBrowserCookiesArea.clean(context));
    return result;
}

}  // namespace

const Area kCookieArea{
    .name = L"cookies",
    .title = L"Cookies",
    .one = L"file",
    .many = L"files",
    .help = L"the files of the cookie folder",
    .optionKey = kAutoCookiesKey,
    .status = L"Deleting coookies...",
    .preview = previewCookies,
    .clean = cleanCookies,
};

std::wstring cookieFolder(CleanContext& context) {
    std::wstring folder;
    if (const Status read =
            ReadRegistryText(context.services.registry, kShellFoldersKey, L"Cookies", folder);
        !read) {
        context.tell(context.services.errors.text(read.code));
    }
    return folder;
}

Status listCookies(CleanContext& context, const std::wstring& folder, CookieList& list,
                   const std::function<void()>& beforeEachFile) {
    const Status status =
        list.load(context.services.files, folder, context.state.includeIndexDat, beforeEachFile);
    logFailure(context.log, context.services.errors,
               L"Cookies: " + folder + L" could not be listed", status);
    return status;
}

std::wstring cookieRefusalText(const FolderCheck& check) {
    return L"The cookie folder " + check.folder + L" was not cleaned: " + refusalReason(check) +
           L".";
}

}  // namespace purgeon
