// The user's date and time formats over the Win32 API.
#pragma once

#include "platform/date_text.h"

namespace purgeon::win32 {

class Win32DateText : public DateText {
public:
    std::wstring shortDate(double value) override;
    std::wstring longTime(double value) override;
    Status localDate(std::int64_t fileTime, double& date) override;
};

}  // namespace purgeon::win32
