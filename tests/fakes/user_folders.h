// The fake user's application data folders, as the fakes and the tests over them name them.
#pragma once

#include <string>

namespace purgeon::fakes {

inline const std::wstring kRoaming = L"C:\\Users\\me\\AppData\\Roaming\\";
inline const std::wstring kLocal = L"C:\\Users\\me\\AppData\\Local\\";

}  // namespace purgeon::fakes
