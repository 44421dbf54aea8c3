// The eleven stored preferences: keys, encodings, and moving them between store and controls.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace purgeon {

inline constexpr wchar_t kSettingsSection[] = L"Settings";

// The ten check-box preferences in table order; the shredding level comes after them.
inline constexpr std::array<const wchar_t*, 10> kCheckBoxKeys = {
    L"autostart",          L"runonstart",     L"runonshutdown",       L"autodelcookies",
    L"autodelcache",       L"autodelhistory", L"autoemptyrecyclebin", L"autocleartemp",
    L"delcachedpasswords", L"secureforall"};
inline constexpr wchar_t kShredLevelKey[] = L"shredlevel";

// The controls that hold the preferences in memory. Assigning a value may run a click reaction.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    virtual int checkBox(size_t row) const = 0;  // row in kCheckBoxKeys
    virtual void setCheckBox(size_t row, int value) = 0;
    virtual bool quick() const = 0;  // "Quick( 3 passes)" selected
    virtual void setQuick(bool selected) = 0;
    virtual void setDod(bool selected) = 0;
};

// The check box stored under the key (one of kCheckBoxKeys): 0, 1 or 2; 0 for any other key.
int optionValue(const OptionControls& controls, std::wstring_view key);

// Stored check-box text to value: a whole number from 0 to 2; anything else gives the default 0.
int checkBoxFromText(const std::wstring& text);
// Stored shredding level to truth value: True or False in any case, or a number (non-zero is
// true); anything else gives the default, true.
bool shredLevelFromText(const std::wstring& text);

// Reads the eleven keys in table order and assigns each control; optDOD ends opposite optQuick.
// A key that is not stored gives its default; so does one that cannot be read, and the first such
// failure is the result.
Status readStoredPrefs(SettingsStore& store, const std::wstring& application,
                       OptionControls& controls);
// Writes all eleven keys in table order, changed or not, going on past a failure; the first
// failure is the result.
Status writeStoredPrefs(SettingsStore& store, const std::wstring& application,
                        const OptionControls& controls);

}  // namespace purgeon
