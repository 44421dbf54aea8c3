// Every value Purgeon keeps in its settings, one row each: the key it is stored under, the text a
// key not stored stands for, and what shows it. Every other file names a stored key by the
// constant here.
#pragma once

#include <cstddef>
#include <string_view>

namespace purgeon {

// The settings' sections (under HKEY_CURRENT_USER\Software\Purgeon).
inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kWindowSection[] = L"Window";

// The options with a check box, read as 0, 1 or 2.
inline constexpr wchar_t kAutoStartKey[] = L"autostart";
inline constexpr wchar_t kRunOnStartKey[] = L"runonstart";
inline constexpr wchar_t kRunOnShutdownKey[] = L"runonshutdown";
inline constexpr wchar_t kAutoCookiesKey[] = L"autodelcookies";
inline constexpr wchar_t kAutoCacheKey[] = L"autodelcache";
inline constexpr wchar_t kAutoHistoryKey[] = L"autodelhistory";
inline constexpr wchar_t kAutoRecycleBinKey[] = L"autoemptyrecyclebin";
inline constexpr wchar_t kAutoTempKey[] = L"autocleartemp";
inline constexpr wchar_t kCachedPasswordsKey[] = L"delcachedpasswords";
inline constexpr wchar_t kSecureForAllKey[] = L"secureforall";
// "True" for "Quick( 3 passes)", "False" for "US DOD (7passes)".
inline constexpr wchar_t kShredLevelKey[] = L"shredlevel";
// The Applications tab: the ticked entries' names separated by "|"; "1" to take them in the
// automatic runs; the address "Get rules..." downloads from.
inline constexpr wchar_t kAppsKey[] = L"apps";
inline constexpr wchar_t kAutoAppsKey[] = L"autoapps";
inline constexpr wchar_t kRulesUrlKey[] = L"rulesurl";
// The Windows items ticked (names of the built-in rules' entries, separated by "|"): the
// Applications tab's Windows group and the automatic runs clean them.
inline constexpr wchar_t kWindowsKey[] = L"windows";
// The sites whose cookies are never deleted, and the browser profiles the user unticked
// ("Chrome/Default;Firefox/x.default"), so that a profile found later starts ticked.
inline constexpr wchar_t kKeepCookiesKey[] = L"keepcookies";
inline constexpr wchar_t kUntickedBrowsersKey[] = L"untickedbrowsers";
// Where the window was, and the widths of its lists' columns.
inline constexpr wchar_t kPlacementKey[] = L"Placement";
inline constexpr wchar_t kCookieColumnsKey[] = L"CookieColumns";
inline constexpr wchar_t kCacheColumnsKey[] = L"CacheColumns";
inline constexpr wchar_t kHistoryColumnsKey[] = L"HistoryColumns";

enum class OptionKind {
    box,         // a check box of the window: "0", "1" or "2"
    shredLevel,  // the Secure Wipe tab's two option buttons
    // A text of its own form, read and written at once by the part that owns it (the
    // Applications tab's "Clean applications automatically" among them).
    text,
    window,  // where the window and its lists were: not an option
};

struct StoredOption {
    const wchar_t* key;
    const wchar_t* section;
    const wchar_t* fallback;  // what a key that is not stored stands for
    OptionKind kind;
};

// In the order the preferences are read and written.
inline constexpr StoredOption kStoredOptions[] = {
    {kAutoStartKey, kSettingsSection, L"0", OptionKind::box},
    {kRunOnStartKey, kSettingsSection, L"0", OptionKind::box},
    {kRunOnShutdownKey, kSettingsSection, L"0", OptionKind::box},
    {kAutoCookiesKey, kSettingsSection, L"0", OptionKind::box},
    {kAutoCacheKey, kSettingsSection, L"0", OptionKind::box},
    {kAutoHistoryKey, kSettingsSection, L"0", OptionKind::box},
    {kAutoRecycleBinKey, kSettingsSection, L"0", OptionKind::box},
    {kAutoTempKey, kSettingsSection, L"0", OptionKind::box},
    {kCachedPasswordsKey, kSettingsSection, L"0", OptionKind::box},
    {kSecureForAllKey, kSettingsSection, L"0", OptionKind::box},
    {kShredLevelKey, kSettingsSection, L"True", OptionKind::shredLevel},
    {kAppsKey, kSettingsSection, L"", OptionKind::text},
    {kAutoAppsKey, kSettingsSection, L"0", OptionKind::text},
    {kRulesUrlKey, kSettingsSection, L"", OptionKind::text},
    {kWindowsKey, kSettingsSection, L"", OptionKind::text},
    {kKeepCookiesKey, kSettingsSection, L"", OptionKind::text},
    {kUntickedBrowsersKey, kSettingsSection, L"", OptionKind::text},
    {kPlacementKey, kWindowSection, L"", OptionKind::window},
    {kCookieColumnsKey, kWindowSection, L"", OptionKind::window},
    {kCacheColumnsKey, kWindowSection, L"", OptionKind::window},
    {kHistoryColumnsKey, kWindowSection, L"", OptionKind::window},
};

// The row of the key, or null.
const StoredOption* storedOption(std::wstring_view key);

// The number of check-box options, and the place of a check box's key among them (the rows of
// kind box, in table order); kBoxCount for a key that is not a check box.
inline constexpr std::size_t kBoxCount = [] {
    std::size_t count = 0;
    for (const StoredOption& option : kStoredOptions) count += option.kind == OptionKind::box;
    return count;
}();
std::size_t boxIndex(std::wstring_view key);

}  // namespace purgeon
