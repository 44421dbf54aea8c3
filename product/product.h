// Facts about the product that every layer may name: its title, version and web addresses.
#pragma once

#include <string>

namespace purgeon {

// The product's name, as the log, the settings and the folders beside them spell it.
inline constexpr wchar_t kProductName[] = L"Purgeon";
// The caption of every window and box: the product's name after a blank, as it has always been
// shown (and as the tests and the user's automation find its windows by).
inline constexpr wchar_t kAppTitle[] = L" Purgeon";

struct AppVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// The one version text, wherever the program names its version: "1.0.0" for major 1, minor 0,
// patch 0, each number in plain decimal.
std::wstring versionText(const AppVersion& version);

// The vendor's web address (home page), ending in "/". A build setting: each executable compiles
// product/vendor_url.cpp with its own address (see purgeon_add_vendor_url in CMakeLists.txt).
std::wstring vendorUrl();

// The help page, under the vendor's products/zp/ folder.
std::wstring helpPageUrl();

}  // namespace purgeon
