// URL download over WinINet.
#pragma once

#include "platform/downloader.h"

namespace purgeon::win32 {

// Downloads over WinINet, bypassing its cache both ways.
class Win32Downloader : public Downloader {
public:
    Status download(const std::wstring& url, std::size_t maxBytes, unsigned timeoutSeconds,
                    std::string& bytes) override;
};

}  // namespace purgeon::win32
