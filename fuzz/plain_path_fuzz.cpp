// Fuzz target: the folder guard's plain spelling of a path, which every refusal compares by. The
// input is the path as UTF-8.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/utf8_text.h"
#include "fuzz/fuzz_support.h"
#include "wipe/folder_guard.h"

using namespace purgeon;
using namespace purgeon::fuzz;

namespace {

// Other spellings of the same folder.
std::vector<std::wstring> respellings(const std::wstring& plain) {
    std::wstring slashes = plain;
    std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
    const bool share = plain.rfind(L"\\\\", 0) == 0;
    const std::wstring extended = share ? L"\\\\?\\UNC\\" + plain.substr(2) : L"\\\\?\\" + plain;
    return {slashes,        extended,           asciiUpper(plain),        plain + L"\\",
            plain + L"\\.", plain + L"\\x\\..", plain + L"\\\\x\\.\\..\\"};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = fromUtf8(bytesOf(data, size));
    const std::wstring plain = plainPath(path);
    const FolderCheck judged = judgeFolder(plain, {}, {}, FolderUse::wipe);
    if (plain.empty()) {
        check(judged.verdict == FolderVerdict::relative, "an empty plain path is refused");
        return 0;
    }
    check(judged.verdict != FolderVerdict::relative, "a plain path is a full path", shown(plain));

    const std::wstring again = plainPath(plain);
    check(again == plain, "a plain path is its own plain spelling",
          shown(path) + " gives " + shown(plain) + ", then " + shown(again));

    for (const std::wstring& other : respellings(plain))
        check(samePath(plainPath(other), plain), "another spelling of a folder is the same folder",
              shown(other) + " gives " + shown(plainPath(other)) + ", not " + shown(plain));

    // A folder below it is below it, and a known folder is never emptied in any spelling.
    const std::wstring child = plainPath(plain + L"\\child");
    check(isBelow(child, plain) && !samePath(child, plain), "a sub-folder lies below its folder",
          shown(child) + " below " + shown(plain));
    const std::vector<KnownFolder> known = {{L"Documents", plain}};
    for (const std::wstring& other : respellings(plain)) {
        const FolderCheck verdict = judgeFolder(plainPath(other), known, {}, FolderUse::wipe);
        check(!verdict.allowed(), "a known folder is refused in every spelling", shown(other));
    }
    const FolderCheck parent = judgeFolder(plain, {{L"Documents", child}}, {}, FolderUse::wipe);
    check(!parent.allowed(), "a folder that holds a known folder is refused", shown(plain));
    return 0;
}
