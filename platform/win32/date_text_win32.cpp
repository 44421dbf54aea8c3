// Date-time values formatted in the user's locale.
#include "platform/win32/date_text_win32.h"
#include "platform/win32/history_store_win32.h"

#include "platform/win32/handles.h"

#include <oleauto.h>

namespace purgeon::win32 {

namespace {

SYSTEMTIME systemTime(double value, bool& ok) {
    SYSTEMTIME time{};
    ok = ::VariantTimeToSystemTime(value, &time) != FALSE;
    return time;
}

}  // namespace

std::wstring Win32DateText::shortDate(double value) {
    bool ok = false;
    const SYSTEMTIME time = systemTime(value, ok);
    wchar_t buffer[128] = {};
    if (!ok || !::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer,
                                  128, nullptr))
        return {};
    return buffer;
}

std::wstring Win32DateText::longTime(double value) {
    bool ok = false;
    const SYSTEMTIME time = systemTime(value, ok);
    wchar_t buffer[128] = {};
    if (!ok || !::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, 128))
        return {};
    return buffer;
}

Status Win32DateText::localDate(std::int64_t fileTime, double& date) {
    return localDateFromFileTime(fileTime, date);
}

}  // namespace purgeon::win32
