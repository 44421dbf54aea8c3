// Finding the installed browsers and their profiles below the two application-data folders.
#pragma once

#include <string>
#include <vector>

#include "browsers/browser_profile.h"
#include "platform/files.h"
#include "wipe/enum_files.h"

namespace purgeon {

struct AppDataFolders {
    std::wstring local;    // "C:\Users\me\AppData\Local\"
    std::wstring roaming;  // "C:\Users\me\AppData\Roaming\"
};

// Every profile of the Chromium family (Chrome, Edge, Brave, Vivaldi, Chromium, Opera) and of
// Firefox, in that order of browsers. A Chromium profile is a folder of "User Data" with a
// "Preferences" file, named as "Local State" names it; Firefox's are those profiles.ini lists
// and that exist. A browser that is not there adds nothing; a folder of one that is there but
// could not be listed is added to unlisted, when given.
std::vector<BrowserProfile> discoverProfiles(FileSystem& files, const AppDataFolders& appData,
                                             std::vector<UnlistedFolder>* unlisted = nullptr);

// The folder ending in "\", whatever it ended in.
std::wstring withSeparator(std::wstring folder);

}  // namespace purgeon
