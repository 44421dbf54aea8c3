// Random names of letters and digits, never a device's.
#include "wipe/random_name.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

#include "wipe/random_stream.h"

namespace purgeon {

namespace {

constexpr wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyz0123456789";

bool deviceName(const std::wstring& name) {
    static const wchar_t* const kDevices[] = {L"con", L"prn", L"aux", L"nul"};
    if (std::any_of(std::begin(kDevices), std::end(kDevices),
                    [&](const wchar_t* device) { return name == device; }))
        return true;
    // com1 to com9, lpt1 to lpt9 (and the 0 that some systems take too).
    return name.size() == 4 && (name.starts_with(L"com") || name.starts_with(L"lpt")) &&
           std::iswdigit(name[3]);
}

}  // namespace

NameMaker::NameMaker() : m_generator(freshSeed()) {}

std::wstring NameMaker::make(std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 2);
    std::wstring name;
    do {
        name.clear();
        for (std::size_t i = 0; i < length; ++i) name += kAlphabet[pick(m_generator)];
    } while (deviceName(name));
    return name;
}

}  // namespace purgeon
