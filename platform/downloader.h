// Downloading a file from the web into memory.
#pragma once

#include <cstddef>
#include <string>

#include "platform/status.h"

namespace purgeon {

class Downloader {
public:
    virtual ~Downloader() = default;
    // Fetches the address into memory, from the server and not from a cached copy. Fails for an
    // error status from the server (kErrorFileNotFound), for more than maxBytes, and when the
    // server does not answer within timeoutSeconds (kErrorTimeout).
    virtual Status download(const std::wstring& url, std::size_t maxBytes, unsigned timeoutSeconds,
                            std::string& bytes) = 0;
};

}  // namespace purgeon
