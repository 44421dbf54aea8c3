// A browser profile found on this machine: which browser, where its files are, how it is locked.
#pragma once

#include <string>
#include <vector>

namespace purgeon {

enum class BrowserFamily { chromium, firefox };

struct BrowserProfile {
    std::wstring browser;  // "Chrome", "Edge", "Firefox", ...
    std::wstring name;     // the profile's own name: "Person 1", "default-release"
    std::wstring folder;   // "...\User Data\Default\", ending in "\"
    // Where the cache lies, ending in "\": the profile folder, except for Firefox, whose cache
    // is below Local app data.
    std::wstring cacheFolder;
    // The file the running browser holds open: "User Data\lockfile", "<profile>\parent.lock".
    std::wstring lockFile;
    BrowserFamily family = BrowserFamily::chromium;

    // "Chrome (Person 1)": how the lists and the messages name it.
    std::wstring title() const { return browser + L" (" + name + L")"; }
    // "Chrome/Default": stable across renames, as the settings store it.
    std::wstring key() const;
    bool operator==(const BrowserProfile&) const = default;
};

// The last path element of a folder path that ends in "\".
std::wstring lastFolderName(const std::wstring& folder);

}  // namespace purgeon
