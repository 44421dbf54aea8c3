// Reading registry values as text, and the autostart value.
#include "prefs/registry_text.h"

#include <cstdint>

#include "product/product.h"

namespace purgeon {

std::wstring textFromUtf16(const std::vector<unsigned char>& bytes) {
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = static_cast<char32_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        if constexpr (sizeof(wchar_t) == 4) {
            // Join a surrogate pair into one character where wide characters are 32 bits.
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
                char32_t low = static_cast<char32_t>(bytes[i + 2] | (bytes[i + 3] << 8));
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

std::wstring QueryRegistryValue(const RegValue& value) {
    if (!value.dataRead) return {};
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz:
            return textFromUtf16(value.data);
        case kRegDword: {
            if (value.data.size() != 4) return {};
            std::uint32_t raw = static_cast<std::uint32_t>(value.data[0]) |
                                (static_cast<std::uint32_t>(value.data[1]) << 8) |
                                (static_cast<std::uint32_t>(value.data[2]) << 16) |
                                (static_cast<std::uint32_t>(value.data[3]) << 24);
            return std::to_wstring(static_cast<std::int32_t>(raw));
        }
        default:
            return {};
    }
}

Status ReadRegistryText(Registry& registry, const std::wstring& subKey,
                        const std::wstring& valueName, std::wstring& text) {
    RegValue value;
    const Status queried = registry.query(subKey, valueName, value);
    text = queried ? QueryRegistryValue(value) : std::wstring();
    return queried;
}

std::wstring GetRegistryValue(Registry& registry, SystemErrors& errors, Dialogs& dialogs,
                              const std::wstring& subKey, const std::wstring& valueName) {
    std::wstring text;
    if (const Status queried = ReadRegistryText(registry, subKey, valueName, text); !queried)
        dialogs.messageBox(errors.text(queried.code), kAppTitle, kMbOk);
    return text;
}

std::wstring autostartCommand(const AppInfo& app) { return L"\"" + app.exePath() + L"\""; }

Status SetAutostart(Registry& registry, const AppInfo& app, bool enable) {
    return enable ? registry.setString(kRunKey, kAppTitle, autostartCommand(app))
                  : registry.deleteValue(kRunKey, kAppTitle);
}

}  // namespace purgeon
