// The program's fixed texts and web addresses.
#pragma once

#include <string>

#include "platform/app_info.h"

namespace purgeon {

// The application title keeps its leading space: it is the caption of every window and box.
inline constexpr wchar_t kAppTitle[] = L" Purgeon";

// The vendor's web address (home page), ending in "/"; a build setting.
std::wstring vendorUrl();

inline constexpr wchar_t kPublisherLine[] = L"Privacy tools for Windows. Free to use and share.";

inline constexpr wchar_t kProgInfo[] =
    L"For Windows \u00a9 95, Windows \u00a9 98, Windows \u00a9 NT, Windows \u00a9 XP\r\n"
    L"Windows \u00a9 2000";

// "1.0" for major 1, minor 0: each number in plain decimal.
std::wstring versionText(const AppVersion& version);

// The help page, under the vendor's products/zp/ folder.
std::wstring helpPageUrl();

}  // namespace purgeon
