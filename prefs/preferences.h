// The preferences the window's boxes and buttons hold: their encodings, and moving them between
// the store and the controls.
#pragma once

#include <string>
#include <string_view>

#include "platform/settings_store.h"
#include "prefs/option_table.h"

namespace purgeon {

// The controls that hold the options of kind box and the shredding level in memory, each box
// found by its key. Assigning a value may run a click reaction.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    // The box's value; 0 for a key that is not a check box of the option table.
    virtual int checkBox(std::wstring_view key) const = 0;
    virtual void setCheckBox(std::wstring_view key, int value) = 0;
    virtual bool quick() const = 0;  // "Quick( 3 passes)" selected
    virtual void setQuick(bool selected) = 0;
    virtual void setDod(bool selected) = 0;
};

// The check box stored under the key: 0, 1 or 2; 0 for any key that is not a check box.
int optionValue(const OptionControls& controls, std::wstring_view key);

// Stored check-box text to value: a whole number from 0 to 2; anything else gives the default 0.
int checkBoxFromText(const std::wstring& text);
// Stored shredding level to truth value: True or False in any case, or a number (non-zero is
// true); anything else gives the default, true.
bool shredLevelFromText(const std::wstring& text);

// Reads the option table's check boxes and the shredding level in table order and assigns each
// control; optDOD ends opposite optQuick.
// A key that is not stored gives its default; so does one that cannot be read, and the first such
// failure is the result.
Status readStoredPrefs(SettingsStore& store, const std::wstring& application,
                       OptionControls& controls);
// Writes the check boxes and the shredding level in table order, changed or not, going on past a
// failure; the first failure is the result.
Status writeStoredPrefs(SettingsStore& store, const std::wstring& application,
                        const OptionControls& controls);

}  // namespace purgeon
