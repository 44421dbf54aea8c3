// The URL history store over COM, URL download, and the user's date and time formats.
#pragma once

#include "platform/history_store.h"
#include "platform/network_time.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class Win32HistoryStoreFactory : public HistoryStoreFactory {
public:
    std::unique_ptr<HistoryStore> create(HResult& hr) override;
};

// Downloads over WinINet, bypassing its cache both ways.
class Win32Downloader : public Downloader {
public:
    Status download(const std::wstring& url, std::size_t maxBytes, unsigned timeoutSeconds,
                    std::string& bytes) override;
};

class Win32DateText : public DateText {
public:
    std::wstring shortDate(double value) override;
    std::wstring longTime(double value) override;
};

// A stored UTC time as a local date-time value; false when a conversion step fails.
bool localDateFromFileTime(std::int64_t fileTime, double& date);

}  // namespace purgeon::win32
