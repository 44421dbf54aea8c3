// Fuzz target: a cookie file of the old-style cookie folder, read for the sites it holds cookies
// of, and deleted or kept by the keep list.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "areas/cookie_list.h"
#include "browsers/cookie_keep_list.h"
#include "fuzz/fuzz_support.h"
#include "fakes/fake_stores.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

constexpr wchar_t kFolder[] = L"C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Cookies\\";
constexpr wchar_t kName[] = L"me@example[1].txt";

// Deletes the folder's one cookie file with this keep list; whether the file is still there.
bool survives(const std::string& content, const CookieKeepList& keep, CookieDeletion& deletion) {
    fakes::FakeFileSystem files;
    files.addFile(kFolder, kName, kAttrArchive, {content.begin(), content.end()});
    CookieList list;
    check(list.load(files, kFolder, false, [] {}).ok(), "the cookie folder lists");
    deletion = list.deleteFiles(files, false, keep);
    return files.files.count(std::wstring(kFolder) + kName) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(bytesOf(data, size));
    const std::vector<std::wstring> hosts = cookieFileHosts(content);
    for (const std::wstring& host : hosts) {
        check(!host.empty(), "no empty site is read");
        check(std::count(hosts.begin(), hosts.end(), host) == 1, "each site is read once",
              shown(host));
        check(host.find_first_of(L"/: \t") == std::wstring::npos, "a site is a host name alone",
              shown(host));
        check(plainSite(host) == host, "a site is read in its plain form", shown(host));
    }

    // Without a keep list the file goes; kept, it stays exactly when it holds a kept site's cookie.
    CookieDeletion deletion;
    check(!survives(content, CookieKeepList(), deletion) && deletion.removed == 1,
          "a cookie file goes when nothing is kept");
    if (hosts.empty()) return 0;
    CookieKeepList keep;
    keep.add(hosts.back());
    check(survives(content, keep, deletion) && deletion.kept == 1 && deletion.removed == 0,
          "a cookie file of a kept site stays", shown(hosts.back()));
    CookieKeepList other;
    other.add(L"kept-elsewhere.invalid");
    const bool otherKept =
        std::any_of(hosts.begin(), hosts.end(), [&](const auto& h) { return other.keeps(h); });
    check(survives(content, other, deletion) == otherKept,
          "a cookie file stays only for a site that is kept");
    return 0;
}
