// A browser profile's history through SQLite, and the files beside it that hold addresses.
#include "browsers/browser_history.h"

#include <limits>

#include "browsers/database_change.h"
#include "browsers/json_value.h"
#include "browsers/sqlite_database.h"
#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

// Microseconds since 1970 in 100 ns units since 1601.
constexpr std::int64_t kUnixEpochAsFileTime = 116444736000000000;

// A statement that runs when its table is there.
struct TableStatement {
    const char* table;
    const char* sql;
};

// A database of the profile and what clearing the history does to it.
struct HistoryDatabase {
    const wchar_t* file;
    std::vector<const char*> clearedTables;  // every row goes (tables that are missing are skipped)
    std::vector<TableStatement> statements;  // run after that, in order
    // Counts the visited pages before they go: the history that was removed.
    const char* countedTable = nullptr;
    const char* countedSql = nullptr;
    // Kept beside the profiles for all of them (in "User Data"), not in the profile's own folder.
    bool besideProfiles = false;
};

const std::vector<HistoryDatabase>& chromiumDatabases() {
    static const std::vector<HistoryDatabase> databases = {
        {L"History",
         {"urls", "visits", "visit_source", "visited_links", "keyword_search_terms", "segments",
          "segment_usage", "content_annotations", "context_annotations", "clusters",
          "clusters_and_visits", "cluster_keywords", "cluster_visit_duplicates",
          "history_sync_metadata"},
         {},
         "urls",
         "SELECT count(*) FROM urls"},
        {L"Favicons", {"icon_mapping", "favicon_bitmaps", "favicons"}, {}},
        {L"Top Sites", {"top_sites", "thumbnails"}, {}},
        {L"Shortcuts", {"omni_box_shortcuts"}, {}},
        {L"Network Action Predictor",
         {"network_action_predictor", "resource_prefetch_predictor_url",
          "resource_prefetch_predictor_host"},
         {}},
        // Usage metrics of every profile, each with the full address and time of the page; they
        // cannot be told apart by profile, so they go with the history of any of them.
        {L"segmentation_platform\\ukm_db", {"urls", "metrics"}, {}, nullptr, nullptr, true},
    };
    return databases;
}

const std::vector<HistoryDatabase>& firefoxDatabases() {
    // Bookmarked pages (foreign_count > 0) stay, without their visits.
    static const std::vector<HistoryDatabase> databases = {
        {L"places.sqlite",
         {"moz_historyvisits", "moz_inputhistory", "moz_places_metadata",
          "moz_places_metadata_search_queries", "moz_historyvisits_extra",
          "moz_previews_tombstones"},
         {{"moz_places", "DELETE FROM moz_places WHERE foreign_count = 0"},
          {"moz_places",
           "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, typed = 0"},
          {"moz_annos", "DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)"},
          {"moz_places_extra",
           "DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM moz_places)"},
          {"moz_origins",
           "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places)"}},
         "moz_places",
         "SELECT count(*) FROM moz_places WHERE last_visit_date IS NOT NULL"},
        {L"favicons.sqlite", {"moz_pages_w_icons", "moz_icons_to_pages", "moz_icons"}, {}},
    };
    return databases;
}

// Words of a failure of the journal's overwrite, or empty.
std::wstring clearDatabase(FileSystem& files, const std::wstring& path, const HistoryDatabase& what,
                           StoreClearing& clearing) {
    return changeLeavingNoTrace(files, path, [&](SqliteDatabase& db) {
        db.exec("BEGIN IMMEDIATE");
        if (what.countedTable && db.hasTable(what.countedTable)) {
            SqliteStatement counted = db.prepare(what.countedSql);
            if (counted.step()) clearing.removed += static_cast<std::size_t>(counted.integer(0));
        }
        for (const char* table : what.clearedTables) {
            if (!db.hasTable(table)) continue;
            db.exec(std::string("DELETE FROM ") + quotedName(table));
        }
        for (const TableStatement& statement : what.statements)
            if (db.hasTable(statement.table)) db.exec(statement.sql);
        db.exec("COMMIT");
        return true;
    });
}

// The sites a Chromium profile has engaged with, kept in its Preferences by address: they go with
// the history. The rest of the file stays as it was.
std::wstring forgetEngagedSites(FileSystem& files, const std::wstring& preferences) {
    std::string text;
    if (!files.readFile(preferences, text)) return {};  // no such file: nothing to forget
    std::optional<JsonValue> root = parseJson(text);
    if (!root) return L"Preferences: not JSON";
    auto profile = root->members.find("profile");
    if (profile == root->members.end()) return {};
    auto settings = profile->second.members.find("content_settings");
    if (settings == profile->second.members.end()) return {};
    auto exceptions = settings->second.members.find("exceptions");
    if (exceptions == settings->second.members.end()) return {};
    bool changed = false;
    for (const char* kind : {"media_engagement", "site_engagement", "important_site_info"}) {
        auto sites = exceptions->second.members.find(kind);
        if (sites == exceptions->second.members.end() || sites->second.members.empty()) continue;
        sites->second.members.clear();
        changed = true;
    }
    if (!changed) return {};
    // The old file keeps a second name through the replacement, so its blocks, which name the
    // sites, are overwritten before they are freed. A copy left by a run that was cut short goes
    // first. A file system without second names gets the file replaced all the same, and says so.
    const std::wstring old = preferences + L".purgeon-old";
    std::wstring leftover = overwriteLeftover(files, old);
    if (!leftover.empty()) return L"Preferences: " + leftover;
    const std::string json = toJson(*root);
    Status written = files.replaceFile(preferences, json, old);
    if (written) return overwriteLeftover(files, old);
    if ((written = files.replaceFile(preferences, json, {})))
        return L"Preferences: rewritten, but the old copy could not be overwritten";
    return L"Preferences: not rewritten (" + std::to_wstring(written.code) + L")";
}

// "C:\a\b\" gives "C:\a\".
std::wstring parentFolder(const std::wstring& folder) {
    const size_t end =
        folder.size() > 1 ? folder.find_last_of(L'\\', folder.size() - 2) : std::wstring::npos;
    return end == std::wstring::npos ? folder : folder.substr(0, end + 1);
}

void addError(StoreClearing& clearing, const std::wstring& error) {
    clearing.error += (clearing.error.empty() ? L"" : L"; ") + error;
}

std::wstring historyDatabase(const BrowserProfile& profile) {
    return profile.folder +
           (profile.family == BrowserFamily::firefox ? L"places.sqlite" : L"History");
}

}  // namespace

std::int64_t visitFileTime(std::int64_t micro, std::int64_t epochAsFileTime) {
    constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();
    if (micro <= 0 || micro > (kLatest - epochAsFileTime) / 10) return 0;
    return micro * 10 + epochAsFileTime;
}

std::wstring listBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                std::vector<BrowserVisit>& visits) {
    visits.clear();
    return listBrowserHistory(
        files, profile,
        [&](std::vector<BrowserVisit> batch) {
            for (BrowserVisit& visit : batch) visits.push_back(std::move(visit));
        },
        std::stop_token());
}

std::wstring listBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                const VisitsHand& hand, std::stop_token stop,
                                std::size_t batchSize) {
    const std::wstring path = historyDatabase(profile);
    std::uint64_t bytes = 0;
    if (!files.fileSize(path, bytes).ok()) return {};
    const bool firefox = profile.family == BrowserFamily::firefox;
    std::vector<BrowserVisit> batch;
    try {
        SqliteDatabase db(path, true);
        if (!db.hasTable(firefox ? "moz_places" : "urls")) return {};
        SqliteStatement rows = db.prepare(
            firefox ? "SELECT url, title, last_visit_date FROM moz_places "
                      "WHERE last_visit_date IS NOT NULL ORDER BY last_visit_date DESC"
                    : "SELECT url, title, last_visit_time FROM urls ORDER BY last_visit_time DESC");
        while (rows.step()) {
            const std::int64_t fileTime =
                visitFileTime(rows.integer(2), firefox ? kUnixEpochAsFileTime : 0);
            batch.push_back({fromUtf8(rows.text(0)), fromUtf8(rows.text(1)), fileTime});
            if (batch.size() < batchSize) continue;
            if (stop.stop_requested()) return {};
            hand(std::move(batch));
            batch.clear();
        }
    } catch (const SqliteError& error) {
        if (!batch.empty()) hand(std::move(batch));
        return fromUtf8(error.what());
    }
    if (!batch.empty()) hand(std::move(batch));
    return {};
}

std::wstring countBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                 std::size_t& pages) {
    pages = 0;
    const std::wstring path = historyDatabase(profile);
    std::uint64_t bytes = 0;
    if (!files.fileSize(path, bytes).ok()) return {};
    const bool firefox = profile.family == BrowserFamily::firefox;
    const HistoryDatabase& database =
        firefox ? firefoxDatabases().front() : chromiumDatabases().front();
    try {
        SqliteDatabase db(path, true);
        if (!db.hasTable(database.countedTable)) return {};
        SqliteStatement counted = db.prepare(database.countedSql);
        if (counted.step()) pages = static_cast<std::size_t>(counted.integer(0));
    } catch (const SqliteError& error) {
        return fromUtf8(error.what());
    }
    return {};
}

HistoryClearing clearBrowserHistory(FileSystem& files, const BrowserProfile& profile,
                                    std::stop_token stop) {
    HistoryClearing clearing;
    const bool firefox = profile.family == BrowserFamily::firefox;
    for (const HistoryDatabase& database : firefox ? firefoxDatabases() : chromiumDatabases()) {
        // Opera keeps its one profile in the folder other browsers keep their profiles in.
        std::wstring path = profile.folder + database.file;
        std::uint64_t bytes = 0;
        if (database.besideProfiles && !files.fileSize(path, bytes).ok())
            path = parentFolder(profile.folder) + database.file;
        if (!files.fileSize(path, bytes).ok()) continue;
        try {
            const std::wstring journal = clearDatabase(files, path, database, clearing.database);
            if (!journal.empty()) addError(clearing.database, journal);
        } catch (const SqliteError& error) {
            addError(clearing.database,
                     std::wstring(database.file) + L": " + fromUtf8(error.what()));
            clearing.database.busy = clearing.database.busy || error.busy();
        }
    }
    if (!firefox) {
        const std::wstring error = forgetEngagedSites(files, profile.folder + L"Preferences");
        if (!error.empty()) {
            addError(clearing.database, error);
        }
    }
    // The session files list the open and recently closed pages.
    const std::vector<std::wstring> folders =
        firefox ? std::vector<std::wstring>{profile.folder + L"sessionstore-backups\\"}
                : std::vector<std::wstring>{profile.folder + L"Sessions\\",
                                            profile.folder + L"Sessions_Encrypted\\"};
    const std::vector<std::wstring> single =
        firefox ? std::vector<std::wstring>{profile.folder + L"sessionstore.jsonlz4"}
                : std::vector<std::wstring>{
                      profile.folder + L"Current Session", profile.folder + L"Current Tabs",
                      profile.folder + L"Last Session", profile.folder + L"Last Tabs",
                      profile.folder + L"Visited Links"};
    clearing.files = removeProfileFiles(files, folders, single, stop);
    return clearing;
}

}  // namespace purgeon
