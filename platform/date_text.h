// The user's date and time formats.
#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace purgeon {

// Date-time values: days since 1899-12-30 00:00, the time of day as the fraction.
class DateText {
public:
    virtual ~DateText() = default;
    // The user's short date form of the value's day.
    virtual std::wstring shortDate(double value) = 0;
    // The user's long time form of the value's time of day.
    virtual std::wstring longTime(double value) = 0;
    // A UTC time (100 ns units since 1601-01-01) as a local date-time value.
    virtual Status localDate(std::int64_t fileTime, double& date) = 0;
};

}  // namespace purgeon
