// Text comparison in the user's locale over the Win32 API.
#pragma once

#include "platform/collation.h"

namespace purgeon::win32 {

class Win32Collation : public Collation {
public:
    int compareIgnoringCase(const std::wstring& a, const std::wstring& b) const override;
    bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) const override;
    std::string sortKey(std::wstring_view text) const override;
};

}  // namespace purgeon::win32
