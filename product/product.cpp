// Texts composed from the program's version and the vendor's address.
#include "product/product.h"

namespace purgeon {

std::wstring versionText(const AppVersion& version) {
    return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
           std::to_wstring(version.patch);
}

std::wstring helpPageUrl() { return vendorUrl() + L"products/zp/help.html"; }

}  // namespace purgeon
