// The program's own log file: one line at a time, kept small.
#pragma once

#include <string>

#include "platform/status.h"

namespace purgeon {

class LogFile {
public:
    virtual ~LogFile() = default;
    // Appends the line and a line break. The file stays bounded: when it grows past its limit the
    // older lines go to one backup beside it, which replaces the previous backup.
    virtual Status append(const std::wstring& line) = 0;
    // Where the log lives, for the user to open; the file exists after the first append.
    virtual std::wstring path() = 0;
};

}  // namespace purgeon
