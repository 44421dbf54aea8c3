// The cookie folder as an area: finding it, listing its files, the folder guard, and its preview
// and clean.
#pragma once

#include <functional>
#include <string>

#include "areas/cookie_list.h"
#include "clean/area.h"
#include "wipe/folder_guard.h"

namespace purgeon {

extern const Area kCookieArea;

// The cookie folder the registry names. When the value cannot be read the system's words go to
// the context's tell, and the result is empty.
std::wstring cookieFolder(CleanContext& context);

// Lists the folder's cookie files into the list (see CookieList::load, with the state's
// includeIndexDat); a folder that cannot be listed leaves a line in the log.
Status listCookies(
    CleanContext& context, const std::wstring& folder, CookieList& list,
    const std::function<void()>& beforeEachFile = [] {});

// "The cookie folder C:\Users\me\Documents was not cleaned: it is the Documents folder."
std::wstring cookieRefusalText(const FolderCheck& check);

}  // namespace purgeon
