// The platform operations the cleaning engine works through, one interface per group.
#pragma once

#include "platform/app_info.h"
#include "platform/files.h"
#include "platform/history_store.h"
#include "platform/log_file.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/system_errors.h"
#include "platform/system_folders.h"
#include "platform/url_cache.h"
#include "platform/volumes.h"

namespace purgeon {

struct CleanServices {
    FileSystem& files;
    SystemFolders& folders;
    Volumes& volumes;
    UrlCache& urlCache;
    HistoryStoreFactory& history;
    Shell& shell;
    Registry& registry;
    SettingsStore& settings;
    SystemErrors& errors;
    LogFile& logFile;
    AppInfo& appInfo;
};

}  // namespace purgeon
