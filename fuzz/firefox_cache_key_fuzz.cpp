// Fuzz target: the address in a Firefox cache2 entry file. The input is read as a whole entry
// file, and again as the key of a well-formed entry.
#include <algorithm>
#include <cstdint>
#include <string>

#include "browsers/browser_cache.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

void appendBigEndian32(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An entry as Firefox writes it: the content, then the metadata (its hash, one two-byte hash per
// 256 KiB chunk of content, eight four-byte fields of which the seventh is the key's size, the
// key and its NUL, the elements), and last where the metadata starts.
std::string entryFile(const std::string& key, std::size_t contentSize) {
    std::string file(contentSize, 'c');
    appendBigEndian32(file, 0xDEADBEEFu);
    const std::size_t chunks = (contentSize + 256 * 1024 - 1) / (256 * 1024);
    file += std::string(2 * chunks, 'h');
    const std::uint32_t fields[8] = {
        3, 1, 1700000000, 1700000000, 0, 1800000000, static_cast<std::uint32_t>(key.size()), 0};
    for (const std::uint32_t field : fields) appendBigEndian32(file, field);
    file += key;
    file += std::string("\0ctid\0002\0", 9);
    appendBigEndian32(file, static_cast<std::uint32_t>(contentSize));
    return file;
}

bool isWebAddress(const std::wstring& url) {
    return url.rfind(L"http://", 0) == 0 || url.rfind(L"https://", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(bytesOf(data, size));
    const std::wstring url = firefoxCacheKeyUrl(bytes);
    check(url.empty() || isWebAddress(url), "an entry gives a web address or nothing", shown(url));

    // The key "a,:http://b.test/y.js" or "O^partitionKey=...,a,:https://c.test/z.css": its tags
    // (no ":" among them: what they hold is escaped), then ":" and the address, which runs to the
    // end of the key.
    const std::size_t colon = std::min(bytes.find(":http://"), bytes.find(":https://"));
    const std::size_t contentSize = size == 0 ? 0 : data[0] * std::size_t{1031};
    const std::wstring framed = firefoxCacheKeyUrl(entryFile(bytes, contentSize));
    if (colon != std::string::npos && bytes.find(':') == colon) {
        const std::wstring expected = fromUtf8(bytes.substr(colon + 1));
        check(framed == expected, "a well-formed entry gives the address its key ends in",
              shown(framed) + " instead of " + shown(expected));
    } else {
        const std::wstring key = fromUtf8(bytes);
        check(framed.empty() ||
                  (key.size() > framed.size() &&
                   key.compare(key.size() - framed.size(), framed.size(), framed) == 0 &&
                   key[key.size() - framed.size() - 1] == L':'),
              "an entry's address is the end of its key, after a ':'", shown(framed));
        check(colon != std::string::npos || framed.empty(), "a key without an address gives none",
              shown(framed));
    }
    return 0;
}
