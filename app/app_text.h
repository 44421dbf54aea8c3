// The program's fixed texts shown in its windows.
#pragma once

namespace purgeon {

inline constexpr wchar_t kPublisherLine[] = L"Privacy tools for Windows. Free to use and share.";

// The systems the program runs on (its manifest names them too).
inline constexpr wchar_t kProgInfo[] = L"For Windows\u00ae 10 and Windows\u00ae 11";

}  // namespace purgeon
