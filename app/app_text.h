// The program's fixed texts shown in its windows.
#pragma once

namespace purgeon {

inline constexpr wchar_t kPublisherLine[] = L"Privacy tools for Windows. Free to use and share.";

inline constexpr wchar_t kProgInfo[] =
    L"For Windows \u00a9 95, Windows \u00a9 98, Windows \u00a9 NT, Windows \u00a9 XP\r\n"
    L"Windows \u00a9 2000";

}  // namespace purgeon
