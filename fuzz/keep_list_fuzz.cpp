// Fuzz target: the stored lists of the settings (the keep list, the unticked browsers) and the
// plain form of a site. The input is UTF-8: its first line a stored keep list as the settings hold
// it, the other lines entries of a list (sites, profile keys), one per line.
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/cookie_keep_list.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

std::string shownList(const std::vector<std::wstring>& parts) {
    std::string text;
    for (const std::wstring& part : parts) text += "[" + shown(part) + "]";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> lines = partsOf(bytesOf(data, size), '\n');
    std::vector<std::wstring> entries;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty()) entries.push_back(fromUtf8(lines[i]));

    // The plain form of a site is already plain.
    for (const std::wstring& entry : entries) {
        const std::wstring site = plainSite(entry);
        check(plainSite(site) == site, "a plain site stays as it is when made plain again",
              shown(entry) + " gives " + shown(site) + ", then " + shown(plainSite(site)));
    }

    // Whatever a list holds (a profile's key, a site) is stored and read back as it was; a part
    // holding the separator, which no file name or host can hold, is left out.
    std::vector<std::wstring> storable;
    for (const std::wstring& entry : entries)
        if (entry.find(kStoredSeparator) == std::wstring::npos) storable.push_back(entry);
    const std::vector<std::wstring> split = splitStored(joinStored(storable));
    check(split == storable, "a stored list reads back as the entries it was made of",
          shownList(storable) + " reads as " + shownList(split));

    // The keep list as the settings hold it, read, stored and read again.
    const CookieKeepList keep(fromUtf8(lines[0]));
    const CookieKeepList again(keep.stored());
    check(again.sites() == keep.sites(), "a keep list stored and read again keeps the same sites",
          shownList(keep.sites()) + " then " + shownList(again.sites()));
    for (const std::wstring& site : keep.sites()) {
        check(!site.empty(), "a kept site is not empty");
        check(keep.keeps(site), "a kept site's cookies are kept", shown(site));
        check(keep.keeps(L"." + site) && keep.keeps(L"www." + site) && keep.keeps(L"sub." + site),
              "a kept site keeps its leading-dot, www. and sub-domain forms", shown(site));
    }
    for (const std::wstring& entry : entries) {
        CookieKeepList one;
        if (!one.add(entry)) continue;
        check(one.keeps(entry), "a site added is kept", shown(entry));
        check(one.remove(entry) && one.sites().empty(), "a site added can be removed again",
              shown(entry));
    }
    return 0;
}
