// Downloading a file from the web, and the user's date and time formats.
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

// Date-time values: days since 1899-12-30 00:00, the time of day as the fraction.
class DateText {
public:
    virtual ~DateText() = default;
    // The user's short date form of the value's day.
    virtual std::wstring shortDate(double value) = 0;
    // The user's long time form of the value's time of day.
    virtual std::wstring longTime(double value) = 0;
};

}  // namespace purgeon
