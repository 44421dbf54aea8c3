// Loading and saving the preferences, with the stored texts' encodings.
#include "prefs/preferences.h"

#include <cwctype>
#include <optional>

namespace purgeon {

namespace {

std::wstring trimmed(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first])) ++first;
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// A whole decimal number with an optional sign, within 16 bits; nothing otherwise.
std::optional<int> wholeNumber(const std::wstring& text) {
    std::wstring t = trimmed(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) negative = t[i++] == L'-';
    if (i == t.size()) return std::nullopt;
    long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < L'0' || t[i] > L'9') return std::nullopt;
        value = value * 10 + (t[i] - L'0');
        if (value > 32768) return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The first failure of a series of store operations; the ones after it are still made.
class FirstFailure {
public:
    void note(const Status& status) {
        if (m_first.ok()) m_first = status;
    }
    Status result() const { return m_first; }

private:
    Status m_first;
};

// The stored text, or the fallback when the key is not stored or cannot be read.
std::wstring readOr(SettingsStore& store, const std::wstring& application, const wchar_t* key,
                    const wchar_t* fallback, FirstFailure& failure) {
    std::wstring text;
    const Status read = store.read(application, kSettingsSection, key, text);
    if (read) return text;
    if (read.code != kErrorFileNotFound) failure.note(read);
    return fallback;
}

}  // namespace

int optionValue(const OptionControls& controls, std::wstring_view key) {
    for (size_t row = 0; row < kCheckBoxKeys.size(); ++row)
        if (key == kCheckBoxKeys[row]) return controls.checkBox(row);
    return 0;
}

int checkBoxFromText(const std::wstring& text) {
    std::optional<int> value = wholeNumber(text);
    return value && *value >= 0 && *value <= 2 ? *value : 0;
}

bool shredLevelFromText(const std::wstring& text) {
    const std::wstring word = lowered(trimmed(text));
    if (word == L"true") return true;
    if (word == L"false") return false;
    std::optional<int> number = wholeNumber(word);
    return number ? *number != 0 : true;
}

Status readStoredPrefs(SettingsStore& store, const std::wstring& application,
                       OptionControls& controls) {
    FirstFailure failure;
    for (size_t row = 0; row < kCheckBoxKeys.size(); ++row)
        controls.setCheckBox(
            row, checkBoxFromText(readOr(store, application, kCheckBoxKeys[row], L"0", failure)));
    controls.setQuick(
        shredLevelFromText(readOr(store, application, kShredLevelKey, L"True", failure)));
    controls.setDod(!controls.quick());
    return failure.result();
}

Status writeStoredPrefs(SettingsStore& store, const std::wstring& application,
                        const OptionControls& controls) {
    FirstFailure failure;
    for (size_t row = 0; row < kCheckBoxKeys.size(); ++row)
        failure.note(store.write(application, kSettingsSection, kCheckBoxKeys[row],
                                 std::to_wstring(controls.checkBox(row))));
    failure.note(store.write(application, kSettingsSection, kShredLevelKey,
                             controls.quick() ? L"True" : L"False"));
    return failure.result();
}

}  // namespace purgeon
