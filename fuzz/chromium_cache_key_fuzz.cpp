// Fuzz target: the address in a Chromium simple-cache entry file (Cache_Data\<hash>_0). The input
// is read as a whole entry file, and again as the key of a well-formed entry.
#include <cstdint>
#include <string>

#include "browsers/browser_cache.h"
#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

void appendLittleEndian32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An entry file as Chromium writes it: magic, version, key length, key hash, padding, the key,
// then the stream's data.
std::string entryFile(const std::string& key) {
    std::string file;
    appendLittleEndian32(file, 0xa7725c30u);
    appendLittleEndian32(file, 0xfcfb6d1bu);
    appendLittleEndian32(file, 5);
    appendLittleEndian32(file, static_cast<std::uint32_t>(key.size()));
    appendLittleEndian32(file, 0x12345678u);
    appendLittleEndian32(file, 0);
    constexpr char kStream[] = "\0\0\0\0 https://after.key.invalid/";
    return file + key + std::string(kStream, sizeof kStream - 1);
}

bool isWebAddress(const std::wstring& url) {
    return url.rfind(L"http://", 0) == 0 || url.rfind(L"https://", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(bytesOf(data, size));
    const std::wstring url = chromiumCacheKeyUrl(bytes);
    check(url.empty() || isWebAddress(url), "an entry gives a web address or nothing", shown(url));
    check(url.find(L' ') == std::wstring::npos, "an address holds no blank", shown(url));

    // The key "1/0/_dk_<site> <site> <address>" ends in the address: its last blank-separated
    // part, when that is a web address.
    const std::size_t space = bytes.rfind(' ');
    const std::string last = space == std::string::npos ? bytes : bytes.substr(space + 1);
    const bool web = last.rfind("http://", 0) == 0 || last.rfind("https://", 0) == 0;
    const std::wstring expected = web ? fromUtf8(last) : std::wstring();
    const std::wstring framed = chromiumCacheKeyUrl(entryFile(bytes));
    check(framed == expected, "a well-formed entry gives the address at the end of its key",
          shown(framed) + " instead of " + shown(expected));
    return 0;
}
