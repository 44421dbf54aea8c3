// A browser profile's title and stable key.
#include "browsers/browser_profile.h"

namespace purgeon {

std::wstring lastFolderName(const std::wstring& folder) {
    std::wstring trimmed = folder;
    while (!trimmed.empty() && (trimmed.back() == L'\\' || trimmed.back() == L'/'))
        trimmed.pop_back();
    const size_t slash = trimmed.find_last_of(L"\\/");
    return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

std::wstring BrowserProfile::key() const { return browser + L"/" + lastFolderName(folder); }

}  // namespace purgeon
