// The update check: fetch the published version number and compare it with the running one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/downloader.h"
#include "platform/shell.h"
#include "platform/url_cache.h"

namespace purgeon {

// The version file's first field: leading blanks skipped, a field in double quotes taken without
// them, ending at the first comma, line break or the end.
std::wstring firstField(const std::string& content);

// The one text-to-number conversion both versions go through: digits with an optional fraction
// after ".", nothing else. Nothing when the text is no such number.
std::optional<double> versionNumber(const std::wstring& text);

// Where the version file is published, and the page that offers the download.
std::wstring versionFileUrl();
std::wstring downloadPageUrl();

// The version file is small: anything larger is no version file. And the user waits for the
// answer, so the server gets a bounded time.
inline constexpr std::size_t kVersionFileLimit = 64 * 1024;
inline constexpr unsigned kDownloadTimeoutSeconds = 15;

// The content without a leading UTF-8 byte-order mark.
std::string withoutByteOrderMark(const std::string& content);

struct UpdateServices {
    Dialogs& dialogs;
    Shell& shell;
    Downloader& downloader;
    UrlCache& urlCache;
    AppInfo& appInfo;
};

// How the check's steps went, failures the boxes do not name included: the caller writes them down.
struct UpdateCheckResult {
    Status cachedCopyDropped;  // a cached copy that was not there counts as dropped
    Status versionFileFetched;
    Status downloadPageOpened;
};

// Downloads the version file into memory (fresh from the server, at most kVersionFileLimit bytes,
// within kDownloadTimeoutSeconds) and tells the user whether a newer version exists, offering the
// download page.
UpdateCheckResult checkForUpdates(UpdateServices& services);

}  // namespace purgeon
