// Dated lines for the log.
#include "clean/run_log.h"

#include <cstdio>
#include <cwchar>

namespace purgeon {

std::wstring utcText(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{floor<seconds>(when - day)};
    wchar_t buffer[40];
    std::swprintf(buffer, std::size(buffer), L"%04d-%02u-%02u %02ld:%02ld:%02ld UTC",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<long>(time.hours().count()),
                  static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()));
    return buffer;
}

void RunLog::write(const std::wstring& text) noexcept {
    try {
        // A line the file refuses is lost: there is nowhere left to tell of it.
        static_cast<void>(m_file.append(utcText(m_clock()) + L"  " + text));
    } catch (...) {
        // Nowhere left to tell: the log itself failed (out of memory).
    }
}

}  // namespace purgeon
