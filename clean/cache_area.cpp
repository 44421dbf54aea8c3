// The URL cache's preview and clean, and the ticked browsers' caches along with it.
#include "clean/cache_area.h"

#include <map>

#include "clean/browser_area.h"
#include "clean/failure_text.h"

namespace purgeon {

namespace {

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

bool deletePasswords(const CleanContext& context) {
    return optionValue(context.options, kCachedPasswordsKey) == 1;
}

std::wstring sparedText(std::size_t spared) {
    return std::to_wstring(spared) +
           L" cookie and password entries spared (\"Delete Cached passwords\" is off)";
}

std::wstring stoppedEarlyText(CleanContext& context, const Status& listed) {
    return L"the listing stopped early: " + wordsInLine(context, listed);
}

AreaResult previewCache(CleanContext& context) {
    PreviewCache cache(context.services.urlCache);
    CacheList list;
    const Status listed = list.refill(cache);
    const CacheDeletion deletion = list.deleteListed(cache, deletePasswords(context));
    AreaResult result;
    result.count = deletion.removed;
    result.bytes = cache.bytes;
    std::vector<std::wstring> notes;
    if (deletion.removed < list.rows().size())
        notes.push_back(sparedText(list.rows().size() - deletion.removed));
    if (!listed) notes.push_back(stoppedEarlyText(context, listed));
    result.why = joinedNotes(notes);
    result.done = listed.ok();
    return result;
}

AreaResult cleanCache(CleanContext& context) {
    CacheList fresh;
    const Status listed = context.shown.cache ? Status::success() : listCache(context, fresh);
    // The work deletes from its own copy: the list shown stays as it is until listed afresh.
    const CacheList list = context.shown.cache ? *context.shown.cache : fresh;
    UrlCache& cache = context.services.urlCache;
    const bool passwords = deletePasswords(context);
    CacheDeletion deletion;
    if (!context.operations.runOperation(L"clearing the cache",
                                         [&](std::stop_token, ProgressSink&) {
                                             deletion = list.deleteListed(cache, passwords);
                                         })) {
        return leftAlone(L"another operation was running");
    }
    AreaResult result;
    result.count = deletion.removed;
    std::vector<std::wstring> notes;
    const std::size_t spared = list.rows().size() - deletion.removed - deletion.refused;
    if (spared > 0) notes.push_back(sparedText(spared));
    if (deletion.refused > 0)
        notes.push_back(std::to_wstring(deletion.refused) + L" refused by the cache");
    if (!listed) notes.push_back(stoppedEarlyText(context, listed));
    result.why = joinedNotes(notes);
    result.done = deletion.refused == 0 && listed.ok();
    std::wstring line = L"Cache: " + std::to_wstring(deletion.removed) + L" entries removed";
    if (deletion.refused > 0) line += L", " + std::to_wstring(deletion.refused) + L" refused";
    result.log.push_back(line + L".");
    if (context.withBrowsers) addBrowsersPart(result, kBrowserCacheArea.clean(context));
    return result;
}

}  // namespace

const Area kCacheArea{
    .name = L"cache",
    .title = L"Cache",
    .one = L"entry",
    .many = L"entries",
    .help =
        L"the URL cache; cookie and password entries stay unless \"Delete Cached passwords\" is "
        L"ticked",
    .optionKey = kAutoCacheKey,
    .status = L"Clearing cache contents...",
    .preview = previewCache,
    .clean = cleanCache,
};

Status listCache(CleanContext& context, CacheList& list) {
    const Status status = list.refill(context.services.urlCache);
    logFailure(context.log, context.services.errors, L"Cache: the listing stopped early", status);
    return status;
}

}  // namespace purgeon
