// Paths of any length for the wide file functions.
#pragma once

#include <string>

namespace purgeon::win32 {

// A path the wide file functions accept at any length: "\\?\" in front of a long absolute path.
std::wstring extendedPath(const std::wstring& path);

}  // namespace purgeon::win32
