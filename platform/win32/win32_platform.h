// The real platform services over the Win32 API.
#pragma once

#include "platform/app_info.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/url_cache.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class Win32Dialogs : public Dialogs {
public:
    // The box is owned by the calling thread's active window, if any.
    int messageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override;
};

class Win32Shell : public Shell {
public:
    void open(const std::wstring& target) override;
    Status openText(const std::wstring& path) override;
    Status emptyRecycleBin() override;
};

class Win32AppInfo : public AppInfo {
public:
    AppVersion version() const override;
    std::wstring folder() const override;
    std::wstring exePath() const override;
};

// One instance per logged-on user: a named mutex in the session's namespace, held while this lives.
class Win32InstanceGuard : public InstanceGuard {
public:
    explicit Win32InstanceGuard(std::wstring name = L"Local\\Purgeon.SingleInstance")
        : m_name(std::move(name)) {}
    bool previousInstanceRunning() override;

private:
    std::wstring m_name;
    UniqueHandle m_mutex;
};

// The WinINet URL cache. Each entry is read into a block of exactly its own size, freed before
// the next entry is probed.
class WinInetUrlCache : public UrlCache {
public:
    void enumerate(const std::function<void(const UrlCacheEntry&)>& visit) override;
    bool remove(const std::wstring& sourceUrlName) override;
};

}  // namespace purgeon::win32
