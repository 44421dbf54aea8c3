// Each area's preview and clean for the command line, over the steps the automatic runs take.
#include "app/clean_areas.h"

#include <map>

#include "app/area_steps.h"
#include "app/clean_browsers.h"
#include "app/program.h"
#include "areas/temp_folder.h"

namespace purgeon {

namespace {

// The system's words for a failure, without their closing line break.
std::wstring systemWords(Program& program, const Status& status) {
    std::wstring why = program.services().errors.text(status.code);
    while (!why.empty() && (why.back() == L'\r' || why.back() == L'\n' || why.back() == L'.'))
        why.pop_back();
    return why;
}

AreaOutcome leftAlone(std::wstring why) {
    AreaOutcome outcome;
    outcome.ran = false;
    outcome.done = false;
    outcome.why = std::move(why);
    return outcome;
}

// The notes of a summary line, one after the other.
std::wstring joined(const std::vector<std::wstring>& notes) {
    std::wstring text;
    for (const std::wstring& note : notes) text += (text.empty() ? L"" : L"; ") + note;
    return text;
}

// The cache as a preview sees it: listed as it is, each entry's size noted. Nothing is deleted:
// each deletion asked for is only counted, so the preview spares exactly what a clean spares.
class PreviewCache : public UrlCache {
public:
    explicit PreviewCache(UrlCache& cache) : m_cache(cache) {}
    Status enumerate(const std::function<void(const UrlCacheEntry&)>& visit) override {
        return m_cache.enumerate([&](const UrlCacheEntry& entry) {
            m_sizes[entry.sourceUrlName] = entry.size;
            visit(entry);
        });
    }
    Status remove(const std::wstring& sourceUrlName) override {
        bytes += m_sizes[sourceUrlName];
        return Status::success();
    }
    std::uint64_t bytes = 0;

private:
    UrlCache& m_cache;
    std::map<std::wstring, std::uint64_t> m_sizes;
};

// "the folder C:\Users\me\Documents was refused: it is the Documents folder"
std::wstring refusedText(const FolderCheck& check) {
    return L"the folder " + check.folder + L" was refused: " + refusalReason(check);
}

std::wstring sparedText(std::size_t spared) {
    return std::to_wstring(spared) +
           L" cookie and password entries spared (\"Delete Cached passwords\" is off)";
}

AreaOutcome previewCache(AreaRun& run) {
    PreviewCache cache(run.program.services().urlCache);
    CacheList list;
    const Status listed = list.refill(cache);
    const CacheDeletion deletion = list.deleteListed(cache, run.deletePasswords);
    AreaOutcome outcome;
    outcome.count = deletion.removed;
    outcome.bytes = cache.bytes;
    std::vector<std::wstring> notes;
    if (deletion.removed < list.rows().size())
        notes.push_back(sparedText(list.rows().size() - deletion.removed));
    if (!listed) notes.push_back(L"the listing stopped early: " + systemWords(run.program, listed));
    outcome.why = joined(notes);
    outcome.done = listed.ok();
    return outcome;
}

AreaOutcome cleanCache(AreaRun& run) {
    CacheList list;
    const Status listed = listCache(run.program, list);
    const std::optional<CacheDeletion> deletion =
        deleteCache(run.program, list, run.deletePasswords);
    if (!deletion) return leftAlone(L"another operation was running");
    AreaOutcome outcome;
    outcome.count = deletion->removed;
    std::vector<std::wstring> notes;
    const std::size_t spared = list.rows().size() - deletion->removed - deletion->refused;
    if (spared > 0) notes.push_back(sparedText(spared));
    if (deletion->refused > 0)
        notes.push_back(std::to_wstring(deletion->refused) + L" refused by the cache");
    if (!listed) notes.push_back(L"the listing stopped early: " + systemWords(run.program, listed));
    outcome.why = joined(notes);
    outcome.done = deletion->refused == 0 && listed.ok();
    return outcome;
}

// The cookie folder and its files, as both the preview and the clean start.
struct CookieListing {
    std::wstring folder;
    CookieList list;
    std::optional<AreaOutcome> failed;
};

CookieListing listCookieFolder(AreaRun& run) {
    CookieListing listing;
    listing.folder = cookieFolder(run.program);
    if (listing.folder.empty()) {
        listing.failed = leftAlone(L"the system names no cookie folder");
        return listing;
    }
    const Status listed = listCookies(run.program, listing.folder, listing.list);
    if (!listed) {
        listing.failed = leftAlone(listing.folder + L" could not be listed: " +
                                   systemWords(run.program, listed));
    }
    return listing;
}

AreaOutcome previewCookies(AreaRun& run) {
    CookieListing listing = listCookieFolder(run);
    if (listing.failed) return *listing.failed;
    AreaOutcome outcome;
    outcome.count = listing.list.rows().size();
    outcome.bytes = 0;
    outcome.place = listing.folder;
    if (listing.list.rows().empty()) return outcome;
    const FolderCheck check = checkCookieFolder(run.program, listing.folder);
    if (!check.allowed()) return leftAlone(refusedText(check));
    outcome.place = check.folder;
    for (const CookieRow& row : listing.list.rows()) {
        std::uint64_t size = 0;
        if (run.program.services().files.fileSize(row.path, size)) *outcome.bytes += size;
    }
    return outcome;
}

AreaOutcome cleanCookies(AreaRun& run) {
    CookieListing listing = listCookieFolder(run);
    if (listing.failed) return *listing.failed;
    const CookieClearing clearing =
        deleteCookies(run.program, listing.list, listing.folder, /*selectedOnly=*/false);
    if (clearing.refused) {
        run.program.log().write(L"Cookies: " + cookieRefusalText(clearing.check));
        return leftAlone(refusedText(clearing.check));
    }
    if (!clearing.deletion) return leftAlone(L"another operation was running");
    AreaOutcome outcome;
    outcome.count = clearing.deletion->removed;
    outcome.place = clearing.check.folder;
    if (clearing.deletion->failed > 0) {
        outcome.done = false;
        outcome.why = std::to_wstring(clearing.deletion->failed) +
                      L" still there (in use by another program, or refused)";
    }
    return outcome;
}

CURLHistory* openHistory(Program& program) {
    if (!program.history()) program.loadHistory();
    return program.history();
}

constexpr wchar_t kNoHistoryStore[] = L"the system offers no usable history store";

AreaOutcome previewHistory(AreaRun& run) {
    CURLHistory* history = openHistory(run.program);
    if (!history) return leftAlone(kNoHistoryStore);
    AreaOutcome outcome;
    outcome.count = static_cast<std::size_t>(history->Count());
    return outcome;
}

AreaOutcome cleanHistory(AreaRun& run) {
    CURLHistory* history = openHistory(run.program);
    if (!history) return leftAlone(kNoHistoryStore);
    const auto before = static_cast<std::size_t>(history->Count());
    if (!run.program.clearHistory()) return leftAlone(L"the history store refused to clear it");
    const auto after = static_cast<std::size_t>(history->Count());
    AreaOutcome outcome;
    outcome.count = before > after ? before - after : 0;
    if (after > 0) {
        outcome.done = false;
        outcome.why = std::to_wstring(after) + L" still there";
    }
    return outcome;
}

AreaOutcome previewRecycleBin(AreaRun& run) {
    RecycleBinContents contents;
    const Status queried = run.program.services().shell.queryRecycleBin(contents);
    if (!queried) {
        return leftAlone(L"the Recycle Bin could not be read: " +
                         systemWords(run.program, queried));
    }
    AreaOutcome outcome;
    outcome.count = static_cast<std::size_t>(contents.items);
    outcome.bytes = contents.bytes;
    return outcome;
}

AreaOutcome cleanRecycleBin(AreaRun& run) {
    // Read first, so the summary can say what went.
    RecycleBinContents contents;
    const Status queried = run.program.services().shell.queryRecycleBin(contents);
    if (!run.program.emptyRecycleBin()) return leftAlone(L"the shell refused to empty it");
    AreaOutcome outcome;
    if (queried) {
        outcome.count = static_cast<std::size_t>(contents.items);
        outcome.bytes = contents.bytes;
    }
    return outcome;
}

std::wstring tempRefusal(const TempClearing& clearing) {
    if (!clearing.folderGiven) return L"the system names no usable temporary folder";
    return refusedText(clearing.check);
}

std::wstring unlistedText(std::size_t folders) {
    return std::to_wstring(folders) + L" folder(s) below it could not be listed";
}

AreaOutcome previewTemp(AreaRun& run) {
    Services& s = run.program.services();
    // The same folder, and the same guard, as the clearing itself takes.
    TempClearing clearing;
    const std::wstring temp = s.folders.tempPath();
    clearing.folderGiven = !temp.empty() && temp.size() < kTempPathBuffer;
    if (clearing.folderGiven)
        clearing.check = checkFolder(s.files, s.folders, temp, FolderUse::temporary);
    if (!clearing.folderGiven || !clearing.check.allowed()) return leftAlone(tempRefusal(clearing));

    FoundFileList found;
    std::uint64_t bytes = 0;
    const std::vector<UnlistedFolder> unlisted =
        EnumFiles(s.files, clearing.check.folder, found, &bytes);
    AreaOutcome outcome;
    outcome.count = found.size() - 1;
    outcome.bytes = bytes;
    outcome.place = clearing.check.folder;
    if (!unlisted.empty()) {
        outcome.done = false;
        outcome.why = unlistedText(unlisted.size());
    }
    return outcome;
}

AreaOutcome cleanTemp(AreaRun& run) {
    const TempClearing clearing = run.program.clearTempFolder();
    if (!clearing.folderGiven || !clearing.check.allowed()) return leftAlone(tempRefusal(clearing));
    const WipeTally& tally = clearing.tally;
    // Removed from the folder: wiped, only unlinked (its data lives on under another name), a
    // link removed as itself, or removed though its overwriting failed or was not verified (which
    // is not done). A file that someone else removed first ("gone") is neither removed by this
    // run nor left.
    const std::size_t removed = tally.wiped() + tally.count(ShredOutcome::unlinked) +
                                tally.count(ShredOutcome::linkRemoved) +
                                tally.count(ShredOutcome::removedNotOverwritten) +
                                tally.count(ShredOutcome::notVerified);
    const std::size_t left = tally.total() - removed - tally.count(ShredOutcome::gone);
    AreaOutcome outcome;
    outcome.count = removed;
    outcome.place = clearing.check.folder;
    std::vector<std::wstring> notes;
    if (tally.notWiped() > 0) notes.push_back(L"not wiped: " + tally.notWipedDetails());
    if (!clearing.unlisted.empty()) notes.push_back(unlistedText(clearing.unlisted.size()));
    outcome.why = joined(notes);
    outcome.done = left == 0 && tally.count(ShredOutcome::removedNotOverwritten) == 0 &&
                   tally.count(ShredOutcome::notVerified) == 0 && clearing.unlisted.empty();
    return outcome;
}

constexpr CleanArea kAreas[] = {
    {L"cache", L"Cache", L"entry", L"entries",
     L"the URL cache; cookie and password entries stay unless \"Delete Cached passwords\" is "
     L"ticked",
     previewCache, cleanCache},
    {L"cookies", L"Cookies", L"file", L"files", L"the files of the cookie folder", previewCookies,
     cleanCookies},
    {L"history", L"History", L"entry", L"entries", L"the history of visited addresses",
     previewHistory, cleanHistory},
    {L"recyclebin", L"Recycle Bin", L"item", L"items", L"the Recycle Bins of all drives",
     previewRecycleBin, cleanRecycleBin},
    {L"temp", L"Temporary files", L"file", L"files",
     L"the files below the temporary folder, overwritten once; only a dedicated temporary "
     L"folder is touched",
     previewTemp, cleanTemp},
    {L"browsers", L"Browsers", L"item", L"items",
     L"the cookies (but the keep list's), cache and history of the browser profiles ticked in "
     L"the options: Chrome, Edge, Brave, Vivaldi, Chromium, Opera and Firefox",
     previewBrowsers, cleanBrowsers},
};

}  // namespace

std::span<const CleanArea> cleanAreas() { return kAreas; }

}  // namespace purgeon
