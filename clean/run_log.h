// The program's log: a dated line for what each run removed, skipped and why, and for failures.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/log_file.h"

namespace purgeon {

using WallClock = std::function<std::chrono::system_clock::time_point()>;

class RunLog {
public:
    explicit RunLog(LogFile& file, WallClock clock = std::chrono::system_clock::now)
        : m_file(file), m_clock(std::move(clock)) {}

    // Writes "YYYY-MM-DD hh:mm:ss UTC  text". A log that cannot be written loses the line; the
    // program goes on.
    void write(const std::wstring& text) noexcept;
    std::wstring path() { return m_file.path(); }

private:
    LogFile& m_file;
    WallClock m_clock;
};

// "2026-12-07 23:49:34 UTC"
std::wstring utcText(std::chrono::system_clock::time_point when);

}  // namespace purgeon
