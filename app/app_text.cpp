// Texts composed from the program's version and the vendor's address.
#include "app/app_text.h"

#ifndef PURGEON_VENDOR_URL
#define PURGEON_VENDOR_URL "https://www.purgeon.example/"
#endif
#define PURGEON_WIDEN_(text) L##text
#define PURGEON_WIDEN(text) PURGEON_WIDEN_(text)

namespace purgeon {

std::wstring vendorUrl() { return PURGEON_WIDEN(PURGEON_VENDOR_URL); }

std::wstring versionText(const AppVersion& version) {
    return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor);
}

std::wstring helpPageUrl() { return vendorUrl() + L"products/zp/help.html"; }

}  // namespace purgeon
