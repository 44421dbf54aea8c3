// The browsers' plain logic: keep list, JSON, INI, profile discovery, cache entry keys, UTF-8.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/browser_cache.h"
#include "browsers/browser_files.h"
#include "browsers/browser_history.h"
#include "browsers/cache_address_reading.h"
#include "browsers/cookie_keep_list.h"
#include "browsers/ini_text.h"
#include "browsers/json_value.h"
#include "browsers/profile_discovery.h"
#include "browsers/utf8_text.h"
#include "fakes/cache_entries.h"
#include "fakes/fake_stores.h"
#include "fakes/user_folders.h"

namespace purgeon {
namespace {

using fakes::append32;
using fakes::kLocal;
using fakes::kRoaming;
using fakes::simpleCacheEntry;

using namespace std::string_literals;
using Strings = std::vector<std::wstring>;

TEST(KeepList, ReadsStoresAddsAndRemovesPlainSites) {
    CookieKeepList keep(L"a.com;;.b.com;www.C.com;a.com");
    EXPECT_EQ(keep.sites(), (Strings{L"a.com", L"b.com", L"c.com"}));
    EXPECT_EQ(keep.stored(), L"a.com|b.com|c.com|");
    EXPECT_EQ(CookieKeepList(keep.stored()).sites(), keep.sites());
    EXPECT_TRUE(CookieKeepList(L";;").sites().empty());
    EXPECT_FALSE(keep.add(L"WWW.B.com."));  // the same site
    EXPECT_FALSE(keep.add(L" "));
    EXPECT_TRUE(keep.add(L"https://D.org:8443/x"));
    EXPECT_TRUE(keep.remove(L".A.COM"));
    EXPECT_FALSE(keep.remove(L"a.com"));
    EXPECT_EQ(keep.stored(), L"b.com|c.com|d.org|");
}

TEST(KeepList, StoredListsKeepEveryFolderNameAndReadTheOlderForm) {
    const Strings parts{L"Firefox/epnzco22.work;old", L"Chrome/Profile 1", L"Opera/;"};
    EXPECT_EQ(splitStored(joinStored(parts)), parts);
    EXPECT_EQ(splitStored(joinStored({L"Firefox/a;b"})), Strings{L"Firefox/a;b"});
    EXPECT_EQ(splitStored(L"Chrome/Default;Chrome/Profile 1"),
              (Strings{L"Chrome/Default", L"Chrome/Profile 1"}));
    EXPECT_EQ(joinStored({L"", L"a|b", L"c"}), L"c|");  // what cannot be stored is left out
}

TEST(KeepList, APlainSiteIsItsOwnPlainForm) {
    for (const wchar_t* host :
         {L"www..example.com", L"www.www.example.com", L".www.example.com", L"www..www.x.org",
          L"a..b.com", L"www.", L"..", L"Www.WWW.x.org."}) {
        const std::wstring once = plainSite(host);
        EXPECT_EQ(plainSite(once), once) << host;
    }
    // Read back after a restart, a kept site keeps no more than it did before.
    CookieKeepList keep;
    keep.add(L"www..example.com");
    EXPECT_FALSE(CookieKeepList(keep.stored()).keeps(L"evil.example.com") &&
                 !keep.keeps(L"evil.example.com"));
    EXPECT_EQ(CookieKeepList(keep.stored()).sites(), keep.sites());
    EXPECT_EQ(plainSite(L"a..b.com"), L"");
    EXPECT_FALSE(keep.add(L"a|b.com"));  // the stored lists' separator is in no host name
}

TEST(KeepList, KeepsASiteAndWhatLiesBelowItOnly) {
    const CookieKeepList keep(L"example.com;www.Kept.org");
    for (const wchar_t* host :
         {L"example.com", L".example.com", L"www.example.com", L"EXAMPLE.Com", L"example.com.",
          L"example.com:443", L"x.example.com", L".a.b.Example.com", L"kept.org", L"www.kept.org"})
        EXPECT_TRUE(keep.keeps(host)) << host;
    for (const wchar_t* host :
         {L"badexample.com", L"example.com.evil.net", L"example.co", L"com", L"", L"."})
        EXPECT_FALSE(keep.keeps(host)) << host;
    EXPECT_FALSE(CookieKeepList().keeps(L"example.com"));
}

TEST(KeepList, PlainSitesAndTheHostsOfAnOldStyleCookieFile) {
    EXPECT_EQ(plainSite(L"http://www.Example.com:8080/path"), L"example.com");
    EXPECT_EQ(plainSite(L"..Sub.Example.COM.."), L"sub.example.com");
    auto record = [](const std::string& where) {
        return "name\nvalue\n" + where + "\n1024\n1\n2\n3\n4\n*\n";
    };
    const std::string text =
        record("example.com/") + record("www.Other.org/path/") + record("example.com/x");
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& content : {text, crlf})
        EXPECT_EQ(cookieFileHosts(content), (Strings{L"example.com", L"other.org"}));
    EXPECT_TRUE(cookieFileHosts("").empty());
}

bool sameTree(const JsonValue& a, const JsonValue& b) {
    if (a.kind != b.kind || a.text != b.text || a.items.size() != b.items.size() ||
        a.members.size() != b.members.size())
        return false;
    for (size_t i = 0; i < a.items.size(); ++i)
        if (!sameTree(a.items[i], b.items[i])) return false;
    auto other = b.members.begin();
    for (const auto& [name, member] : a.members) {
        if (name != other->first || !sameTree(member, other->second)) return false;
        ++other;
    }
    return true;
}

TEST(Json, ReadsNestedValuesEscapesAndSpellings) {
    using Kind = JsonValue::Kind;
    const auto value = parseJson(
        "\xEF\xBB\xBF {\"a\": [1.50, -2.5e3, true, false, null, {\"b\": \"x\"}, []],\r\n"
        " \"s\": \"q\\\"b\\\\s\\/n\\n\\t\\u00e9\\ud83d\\ude00\", \"e\": {}}");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, Kind::object);
    const JsonValue* a = value->member("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 7u);
    const struct {
        Kind kind;
        const char* text;
    } items[] = {{Kind::number, "1.50"},   {Kind::number, "-2.5e3"}, {Kind::boolean, "true"},
                 {Kind::boolean, "false"}, {Kind::null, "null"},     {Kind::object, ""},
                 {Kind::array, ""}};
    for (size_t i = 0; i < a->items.size(); ++i) {
        EXPECT_EQ(a->items[i].kind, items[i].kind) << i;
        EXPECT_EQ(a->items[i].text, items[i].text) << i;
    }
    ASSERT_NE(a->items[5].member("b"), nullptr);
    EXPECT_EQ(a->items[5].member("b")->text, "x");
    EXPECT_EQ(value->member("s")->text, "q\"b\\s/n\n\t\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(value->member("e")->kind, Kind::object);
    EXPECT_EQ(value->member("missing"), nullptr);
    EXPECT_EQ(a->member("b"), nullptr);  // not an object
}

TEST(Json, RefusesWhatIsNotOneWholeValue) {
    for (const char* text :
         {"", "  ", "[1,2,]", "{\"a\":1,}", "\"abc", "{\"a\":\"b}", "[1] 2", "{} x", "{\"a\" 1}",
          "[1 2]", "{a:1}", "nul", "[", "{\"a\":1", "\"\\u12\"", "\"a\\", "\xEF\xBB\xBF"})
        EXPECT_FALSE(parseJson(text)) << text;
    for (const size_t depth : {65u, 200u, 100000u}) {
        EXPECT_FALSE(parseJson(std::string(depth, '[') + std::string(depth, ']'))) << depth;
        EXPECT_FALSE(parseJson(std::string(depth, '['))) << depth;
    }
    EXPECT_TRUE(parseJson(std::string(64, '[') + std::string(64, ']')));
}

TEST(Json, WritesCompactTextThatReadsBackAsTheSameTree) {
    EXPECT_EQ(toJson(parseJson(" { \"b\" : 1.50 , \"a\" : [ true , null , -0 ] } ").value()),
              "{\"a\":[true,null,-0],\"b\":1.50}");
    const char* texts[] = {"{\"b\":[1,{\"c\":null}],\"a\":\"x\",\"\":{\"\":[]}}",
                           "[2E+3,false,\"\",{},[[]]]",
                           R"({"q\"\\\u0000\u0007\u001b key":)"
                           R"("\u0000\u0001\u001f\b\f\n\r\t\"\\/\u007f\u00e9\ud83d\ude00"})"};
    for (const char* text : texts) {
        const auto read = parseJson(text);
        ASSERT_TRUE(read) << text;
        const auto again = parseJson(toJson(*read));
        ASSERT_TRUE(again) << toJson(*read);
        EXPECT_TRUE(sameTree(*read, *again)) << toJson(*read);
    }
    // Control characters, quotes and backslashes in names and values come back as they were.
    const auto escaped = parseJson(toJson(parseJson(R"({"a\u0000\"":"\u0001\u001f\\"})").value()));
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->members.begin()->first, "a\0\""s);
    EXPECT_EQ(escaped->members.begin()->second.text, "\x01\x1f\\");
}

TEST(Ini, ReadsSectionsValuesAndCommentsOfProfilesIni) {
    const auto sections = parseIni(
        L"\uFEFForphan=1\r\n[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n\r\n"
        L"[Profile0]\r\nName = default-release \r\n; a comment\r\nIsRelative=1\r\n"
        L"Path=Profiles/abc.default-release\r\n# another\r\nDefault=1\r\n\r\n"
        L"[Profile1]\r\nName=first\r\nname=second\r\nIsRelative=0\r\nPath=D:\\a=b\\x\r\n"
        L"  [Install308046B0AF4A39CB]  \r\nDefault=Profiles/abc.default-release\r\nLocked=1");
    Strings names;
    for (const IniSection& section : sections) names.push_back(section.name);
    ASSERT_EQ(names, (Strings{L"General", L"Profile0", L"Profile1", L"Install308046B0AF4A39CB"}));
    using Values = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(sections[1].values, (Values{{L"Name", L"default-release"},
                                          {L"IsRelative", L"1"},
                                          {L"Path", L"Profiles/abc.default-release"},
                                          {L"Default", L"1"}}));
    EXPECT_EQ(sections[1].value(L"PATH"), L"Profiles/abc.default-release");
    EXPECT_EQ(sections[1].value(L"missing"), L"");
    EXPECT_EQ(sections[2].value(L"name"), L"first");
    EXPECT_EQ(sections[2].value(L"Path"), L"D:\\a=b\\x");
    EXPECT_EQ(sections[3].value(L"locked"), L"1");
    EXPECT_EQ(sections[0].value(L"orphan"), L"");
}

std::vector<unsigned char> bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(BrowserDiscovery, FindsChromiumAndFirefoxProfilesInBrowserOrder) {
    fakes::FakeFileSystem files;
    const std::wstring chrome = kLocal + L"Google\\Chrome\\User Data\\";
    files.addFile(chrome, L"Local State", kAttrArchive,
                  bytes(R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},)"
                        R"("Profile 2":{"name":"Work"}}}})"));
    for (const wchar_t* folder : {L"Default", L"Profile 2", L"System Profile"})
        files.addFile(chrome, folder, kAttrDirectory);
    files.addFile(chrome + L"Default\\", L"Preferences");
    files.addFile(chrome + L"Profile 2\\", L"Preferences");
    files.addFile(chrome + L"System Profile\\", L"Cookies");
    const std::wstring edge = kLocal + L"Microsoft\\Edge\\User Data\\";
    files.addFile(edge, L"Default", kAttrDirectory);
    files.addFile(edge + L"Default\\", L"Preferences");
    const std::wstring opera = kRoaming + L"Opera Software\\Opera Stable\\";
    files.addFile(opera, L"Preferences");
    const std::wstring firefox = kRoaming + L"Mozilla\\Firefox\\";
    files.addFile(firefox, L"profiles.ini", kAttrArchive,
                  bytes("[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\n"
                        "Name=default-release\r\nIsRelative=1\r\n"
                        "Path=Profiles/abc.default-release\r\n\r\n[Profile1]\r\nName=gone\r\n"
                        "IsRelative=0\r\nPath=D:\\Gone\\xyz.gone\r\n"));
    const std::wstring fox = firefox + L"Profiles\\abc.default-release\\";
    files.addFile(firefox + L"Profiles\\", L"abc.default-release", kAttrDirectory);
    files.addFile(fox, L"prefs.js");

    const Strings expected = {
        L"Chrome|Person 1|" + chrome + L"Default\\|" + chrome + L"Default\\|" + chrome +
            L"lockfile|0",
        L"Chrome|Work|" + chrome + L"Profile 2\\|" + chrome + L"Profile 2\\|" + chrome +
            L"lockfile|0",
        L"Edge|Default|" + edge + L"Default\\|" + edge + L"Default\\|" + edge + L"lockfile|0",
        L"Opera|Default|" + opera + L"|" + opera + L"|" + opera + L"lockfile|0",
        L"Firefox|default-release|" + fox + L"|" + kLocal +
            L"Mozilla\\Firefox\\Profiles\\abc.default-release\\|" + fox + L"parent.lock|1",
    };
    // The folders as the system gives them, with or without their last "\".
    for (const AppDataFolders& appData :
         {AppDataFolders{kLocal, kRoaming},
          AppDataFolders{kLocal.substr(0, kLocal.size() - 1),
                         kRoaming.substr(0, kRoaming.size() - 1)}}) {
        const std::vector<BrowserProfile> found = discoverProfiles(files, appData);
        Strings described, keys, titles;
        for (const BrowserProfile& p : found) {
            described.push_back(p.browser + L"|" + p.name + L"|" + p.folder + L"|" + p.cacheFolder +
                                L"|" + p.lockFile + L"|" +
                                std::to_wstring(static_cast<int>(p.family)));
            keys.push_back(p.key());
            titles.push_back(p.title());
        }
        EXPECT_EQ(described, expected);
        EXPECT_EQ(keys, (Strings{L"Chrome/Default", L"Chrome/Profile 2", L"Edge/Default",
                                 L"Opera/Opera Stable", L"Firefox/abc.default-release"}));
        EXPECT_EQ(titles, (Strings{L"Chrome (Person 1)", L"Chrome (Work)", L"Edge (Default)",
                                   L"Opera (Default)", L"Firefox (default-release)"}));
    }
    files.listed.clear();
    EXPECT_TRUE(discoverProfiles(files, AppDataFolders{}).empty());
    EXPECT_TRUE(files.listed.empty());  // never a folder relative to the current one
}

TEST(CacheKey, ChromiumSimpleCacheHeaderNamesTheAddress) {
    const std::string key = "1/0/_dk_http://a.test http://a.test http://a.test/x.png";
    const std::string query = "1/0/_dk_https://a.test https://a.test https://a.test/go?to=http://b";
    const std::string body = "\0\x01 http://body.test/other.png"s;
    const auto size = [](const std::string& s) { return static_cast<std::uint32_t>(s.size()); };
    const struct {
        std::string bytes;
        std::wstring url;
    } cases[] = {
        {simpleCacheEntry(key, size(key)) + body, L"http://a.test/x.png"},
        {simpleCacheEntry(key, size(key)), L"http://a.test/x.png"},
        {simpleCacheEntry(query, size(query)), L"https://a.test/go?to=http://b"},
        {simpleCacheEntry(key, size(key), 0xfcfb6d1ba7725c31ull) + body, L""},
        {simpleCacheEntry(key, size(key) + size(body) + 1) + body, L""},
        {simpleCacheEntry(key, 0xFFFFFFFFu) + body, L""},
        {simpleCacheEntry("", 0).substr(0, 20), L""},
        {"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(chromiumCacheKeyUrl(c.bytes), c.url) << c.bytes.size();
}

// Content, then the metadata: hashes, fixed fields, the key and its NUL, the elements, and last
// where the metadata starts.
std::string firefoxEntry(const std::string& key, const std::string& elements,
                         std::uint32_t offsetShift = 0) {
    std::string out = "console.log('http://content.test/');";
    const auto offset = static_cast<std::uint32_t>(out.size());
    out += "\xCA\xFE\xBA\xBE\x12\x34"s;
    for (const std::uint32_t field : {3u, 1u, 1700000000u, 1700000000u, 77u, 1800000000u,
                                      static_cast<std::uint32_t>(key.size()), 0u})
        append32(out, field, true);
    out += key + std::string(1, '\0') + elements;
    append32(out, offset + offsetShift, true);
    return out;
}

TEST(CacheKey, FirefoxEntryMetadataNamesTheAddress) {
    const std::string plain =
        "request-method\0GET\0response-head\0HTTP/1.1 200 OK\r\nContent-Type: text/css\r\n\0"s;
    const std::string headers =
        "response-head\0HTTP/1.1 200 OK\r\nAccess-Control-Allow-Origin: https://cdn.test\r\n\0"s;
    const std::string partitioned = "O^partitionKey=%28http%2Cb.test%29,a,:https://c.test/z.css";
    const struct {
        std::string bytes;
        std::wstring url;
    } cases[] = {
        {firefoxEntry(":http://b.test/y.js", plain), L"http://b.test/y.js"},
        {firefoxEntry(partitioned, plain), L"https://c.test/z.css"},
        {firefoxEntry(":http://b.test/y.js", headers), L"http://b.test/y.js"},
        // The address after the tags, not a plain-http one that it holds later on.
        {firefoxEntry("a,:https://shop.test/in?next=/a:http://tracker.test/", plain),
         L"https://shop.test/in?next=/a:http://tracker.test/"},
        {firefoxEntry(":http://b.test/y.js", plain, 1000), L""},
        {"\0\0\0\0"s, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(firefoxCacheKeyUrl(c.bytes), c.url) << c.bytes.size();
}

// Counts the bytes read by parts, as the listing's readers read them side by side.
struct PartCountingFiles : fakes::FakeFileSystem {
    Status readPart(const std::wstring& path, std::uint64_t offset, std::size_t most,
                    std::string& bytes) override {
        const Status read = FakeFileSystem::readPart(path, offset, most, bytes);
        partBytes += bytes.size();
        return read;
    }
    std::atomic<std::uint64_t> partBytes{0};
};

TEST(CacheListing, FindsEntriesByNameThenReadsOnlyTheEndsThatHoldTheAddressesThoseOnScreenFirst) {
    const auto bytesOf = [](const std::string& text) {
        return std::vector<unsigned char>(text.begin(), text.end());
    };
    const std::string big(300 * 1024, 'c');  // content the listing never reads
    for (const bool firefox : {false, true}) {
        for (const std::size_t readers : {std::size_t{1}, std::size_t{4}}) {
            PartCountingFiles files;
            BrowserProfile profile;
            profile.family = firefox ? BrowserFamily::firefox : BrowserFamily::chromium;
            profile.cacheFolder = L"C:\\c\\";
            const std::wstring folder =
                firefox ? L"C:\\c\\cache2\\entries\\" : L"C:\\c\\Cache\\Cache_Data\\";
            std::uint64_t total = 0;
            for (int i = 0; i < 40; ++i) {
                const std::string url = "http://a.test/" + std::to_string(i);
                const std::string key = firefox ? ":" + url : "1/0/_dk_http://a.test " + url;
                std::string file;
                if (firefox) {
                    // The content, its hash and one per 256 KiB chunk (two), the fields, the key.
                    file = big + std::string(4 + 2 * 2, 'h');
                    for (const std::uint32_t field :
                         {3u, 1u, 0u, 0u, 0u, 0u, static_cast<std::uint32_t>(key.size()), 0u})
                        append32(file, field, true);
                    file += key + std::string(1, '\0');
                    append32(file, static_cast<std::uint32_t>(big.size()), true);
                } else {
                    file = simpleCacheEntry(key, static_cast<std::uint32_t>(key.size())) + big;
                }
                total += file.size();
                const std::wstring name =
                    (i < 10 ? L"0" : L"") + std::to_wstring(i) + (firefox ? L"" : L"_0");
                files.addFile(folder, name, kAttrArchive, bytesOf(file));
            }
            files.addFile(folder, L"index", kAttrArchive, bytesOf("no address here"));
            // The entries by their names alone, nothing read; the index is none of them.
            const FoundBrowserCache found = findBrowserCache(files, profile);
            ASSERT_EQ(found.pageEntries(), 40u);
            EXPECT_EQ(files.partBytes.load(), 0u);
            // The last entry is on screen before the reading starts: it comes first, alone.
            CacheAddressQueue queue;
            queue.want(39);
            std::vector<std::wstring> urls(40);
            std::vector<std::size_t> batches;
            readCacheAddresses(
                files, {&found}, queue,
                [&](std::vector<CacheAddress> batch) {
                    batches.push_back(batch.size());
                    for (const CacheAddress& read : batch) urls.at(read.index) = read.url;
                },
                std::stop_token(), 16, readers);
            for (int i = 0; i < 40; ++i)
                EXPECT_EQ(urls[static_cast<std::size_t>(i)],
                          L"http://a.test/" + std::to_wstring(i));
            if (readers == 1) {
                EXPECT_EQ(batches, (std::vector<std::size_t>{1, 16, 16, 7}));
            }
            EXPECT_LT(files.partBytes.load(), total / 10);  // the ends, never the content
        }
    }
}

// A profile's folder that is not there has nothing to remove; one that is there but cannot be
// listed is told, not taken for empty; the rest go.
TEST(ProfileFiles, AMissingFolderIsNothingAndAnUnlistableOneIsTold) {
    fakes::FakeFileSystem fs;
    const std::wstring cache = L"D:\\p\\Cache\\", locked = L"D:\\p\\Locked\\";
    fs.addFile(cache, L"a_0", kAttrArchive, std::vector<unsigned char>(100, 1));
    fs.addFile(locked, L"b_0", kAttrArchive, std::vector<unsigned char>(100, 1));
    fs.listErrors[locked] = kErrorAccessDenied;
    const FileRemoval removal =
        removeProfileFiles(fs, {L"D:\\p\\Missing", L"D:\\p\\Cache", L"D:\\p\\Locked"}, {});
    EXPECT_EQ(removal.tally.wiped(), 1u);
    EXPECT_EQ(removal.unlisted,
              (std::vector<UnlistedFolder>{{locked, Status::error(kErrorAccessDenied)}}));
    EXPECT_FALSE(fs.files.count(cache + L"a_0"));
    EXPECT_TRUE(fs.files.count(locked + L"b_0"));
}

TEST(Utf8, ConvertsBothWays) {
    const struct {
        std::wstring wide;
        std::string utf8;
    } cases[] = {{L"", ""},
                 {L"plain ASCII ~", "plain ASCII ~"},
                 {L"\u00e9", "\xC3\xA9"},
                 {L"\u20ac", "\xE2\x82\xAC"},
                 {L"\U0001F600", "\xF0\x9F\x98\x80"},
                 {L"a\u00e9\u20ac\U0001F600z", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"}};
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(c.wide), c.utf8);
        EXPECT_EQ(fromUtf8(c.utf8), c.wide);
    }
}

TEST(VisitTime, MicrosecondsBecomeFileTimeAndAnImpossibleTimeIsUnknown) {
    constexpr std::int64_t kFirefoxEpoch = 116444736000000000;
    constexpr std::int64_t kMax = INT64_MAX;
    const struct {
        std::int64_t micro, epoch, fileTime;
    } cases[] = {
        {13300000000000000, 0, 133000000000000000},
        {1700000000000000, kFirefoxEpoch, 17000000000000000 + kFirefoxEpoch},
        {0, 0, 0},
        {-5, kFirefoxEpoch, 0},
        {kMax / 10, 0, kMax / 10 * 10},
        {kMax / 10 + 1, 0, 0},
        {(kMax - kFirefoxEpoch) / 10 + 1, kFirefoxEpoch, 0},
        {kMax, kFirefoxEpoch, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(visitFileTime(c.micro, c.epoch), c.fileTime) << c.micro;
}

// The old Preferences keeps a second name while the new one moves in, then is overwritten and
// removed: its blocks, which name the sites, are never freed as they were. A copy that a run cut
// short left behind goes first.
TEST(EngagedSites, TheOldPreferencesIsOverwrittenAfterTheNewOneIsInPlace) {
    const std::wstring folder = L"C:\\U\\Chrome\\User Data\\Default\\";
    const std::string engaged =
        R"({"profile":{"content_settings":{"exceptions":{"site_engagement":)"
        R"({"http://gone.test:80,*":{"setting":{"rawScore":3}}}}}},"x":1})";
    for (const bool leftover : {false, true}) {
        SCOPED_TRACE(leftover);
        fakes::FakeFileSystem files;
        files.addFile(folder, L"Preferences", kAttrArchive, {engaged.begin(), engaged.end()});
        if (leftover) files.addFile(folder, L"Preferences.purgeon-old", kAttrArchive, {'o', 'l'});
        BrowserProfile profile{L"Chrome", L"Default", folder, folder, {}, BrowserFamily::chromium};
        const HistoryClearing clearing = clearBrowserHistory(files, profile);
        EXPECT_EQ(clearing.database.error, L"");
        const auto& now = files.files.at(folder + L"Preferences").content;
        EXPECT_EQ(std::string(now.begin(), now.end()).find("gone.test"), std::string::npos);
        EXPECT_EQ(files.files.count(folder + L"Preferences.purgeon-old"), 0u);
        const auto step = [&](const std::wstring& entry) {
            return std::find(files.log.begin(), files.log.end(), entry) - files.log.begin();
        };
        const auto replaced = step(L"replace " + folder + L"Preferences");
        const auto overwritten = step(L"delete " + folder + L"Preferences.purgeon-old");
        ASSERT_LT(replaced, static_cast<std::ptrdiff_t>(files.log.size()));
        ASSERT_LT(overwritten, static_cast<std::ptrdiff_t>(files.log.size()));
        if (leftover) {
            EXPECT_LT(overwritten, replaced);
        } else {
            EXPECT_GT(overwritten, replaced);
        }
    }
}

TEST(Utf8, SurrogatesGiveTheSameBytesWhateverTheWidthOfWideCharacters) {
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(toUtf8(pair), "\xF0\x9F\x98\x80");
    for (const wchar_t lone : {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)})
        EXPECT_EQ(toUtf8(std::wstring{L'a', lone, L'z'}), "a\xEF\xBF\xBDz");
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharacters) {
    const std::string invalid[] = {
        "\x80", "\xBF\x80", "\xC3",         "\xE2\x82",     "\xF0\x9F\x98",
        "\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
    };
    // How many replacement characters a bad sequence gives is left open; one run of them it is.
    auto runsJoined = [](const std::wstring& text) {
        std::wstring joined;
        for (const wchar_t c : text)
            if (c != L'\uFFFD' || joined.empty() || joined.back() != c) joined += c;
        return joined;
    };
    for (const std::string& bad : invalid) {
        EXPECT_EQ(runsJoined(fromUtf8("a" + bad + "z")), L"a\uFFFDz")
            << testing::PrintToString(bad);
        EXPECT_EQ(runsJoined(fromUtf8("a" + bad)), L"a\uFFFD") << testing::PrintToString(bad);
    }
}

}  // namespace
}  // namespace purgeon
