// CompareStringEx and CompareStringOrdinal behind the collation interface.
#include "platform/win32/collation_win32.h"

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

}  // namespace purgeon::win32
