// Telling a running browser by its profile lock.
#include "browsers/profile_lock.h"

namespace purgeon {

bool profileInUse(FileSystem& files, const BrowserProfile& profile) {
    bool held = false;
    if (!files.heldOpen(profile.lockFile, held).ok()) return true;
    return held;
}

std::wstring closeBrowserText(const BrowserProfile& profile) {
    return L"Close " + profile.browser + L" to clean it";
}

}  // namespace purgeon
