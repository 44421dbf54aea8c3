// CompareStringEx and CompareStringOrdinal behind the collation interface.
#include "platform/win32/collation_win32.h"

#include <string>

#include "platform/win32/handles.h"

namespace purgeon::win32 {

int Win32Collation::compareIgnoringCase(const std::wstring& a, const std::wstring& b) const {
    const int order = ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                                        static_cast<int>(a.size()), b.c_str(),
                                        static_cast<int>(b.size()), nullptr, nullptr, 0);
    return order == 0 ? 0 : order - CSTR_EQUAL;
}

bool Win32Collation::equalIgnoringCase(std::wstring_view a, std::wstring_view b) const {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::string Win32Collation::sortKey(std::wstring_view text) const {
    if (text.empty()) return {};
    // LCMapStringEx counts a sort key in bytes; a first guess fits most texts in one call. The
    // key is then copied out at its own size: lists keep one for each of many thousand rows.
    std::string room(text.size() * 3 + 16, '\0');
    const auto map = [&](std::string& into) {
        return ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                               text.data(), static_cast<int>(text.size()),
                               reinterpret_cast<LPWSTR>(into.data()), static_cast<int>(into.size()),
                               nullptr, nullptr, 0);
    };
    int bytes = map(room);
    if (bytes == 0) {
        bytes =
            ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr, 0);
        if (bytes <= 0) return {};
        room.assign(static_cast<std::size_t>(bytes), '\0');
        bytes = map(room);
        if (bytes <= 0) return {};
    }
    std::size_t size = static_cast<std::size_t>(bytes);
    // The key ends in a zero byte, which adds nothing to the order.
    if (room[size - 1] == '\0') --size;
    return room.substr(0, size);
}

}  // namespace purgeon::win32
