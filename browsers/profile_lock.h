// Whether a browser runs with a profile, told by the lock file it holds open.
#pragma once

#include <string>

#include "browsers/browser_profile.h"
#include "platform/files.h"

namespace purgeon {

// Chromium's "User Data\lockfile" and Firefox's "parent.lock" are held open while the browser
// runs with the profile (a lock file left behind by a browser that has ended is not held). When
// the lock cannot be checked, the profile counts as in use: it is left alone.
bool profileInUse(FileSystem& files, const BrowserProfile& profile);

// "Close Chrome to clean it": what the user is told when a profile is in use.
std::wstring closeBrowserText(const BrowserProfile& profile);

}  // namespace purgeon
