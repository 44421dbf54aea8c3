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

// The stored text, or the option's fallback when the key is not stored or cannot be read. Only
// the boxes and the shredding level are asked: the other rows are read by their owners.
std::wstring readOr(SettingsStore& store, const std::wstring& application,
                    const StoredOption& option, FirstFailure& failure) {
    if (option.kind != OptionKind::box && option.kind != OptionKind::shredLevel)
        return option.fallback;
    std::wstring text;
    const Status read = store.read(application, option.section, option.key, text);
    if (read) return text;
    if (read.code != kErrorFileNotFound) failure.note(read);
    return option.fallback;
}

}  // namespace

int optionValue(const OptionControls& controls, std::wstring_view key) {
    return controls.checkBox(key);
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
    for (const StoredOption& option : kStoredOptions) {
        const std::wstring text = readOr(store, application, option, failure);
        if (option.kind == OptionKind::box) {
            controls.setCheckBox(option.key, checkBoxFromText(text));
        } else if (option.kind == OptionKind::shredLevel) {
            controls.setQuick(shredLevelFromText(text));
            controls.setDod(!controls.quick());
        }
    }
    return failure.result();
}

Status writeStoredPrefs(SettingsStore& store, const std::wstring& application,
                        const OptionControls& controls) {
    FirstFailure failure;
    for (const StoredOption& option : kStoredOptions) {
        if (option.kind == OptionKind::box) {
            failure.note(store.write(application, option.section, option.key,
                                     std::to_wstring(controls.checkBox(option.key))));
        } else if (option.kind == OptionKind::shredLevel) {
            failure.note(store.write(application, option.section, option.key,
                                     controls.quick() ? L"True" : L"False"));
        }
    }
    return failure.result();
}

const StoredOption* storedOption(std::wstring_view key) {
    for (const StoredOption& option : kStoredOptions)
        if (key == option.key) return &option;
    return nullptr;
}

std::size_t boxIndex(std::wstring_view key) {
    std::size_t index = 0;
    for (const StoredOption& option : kStoredOptions) {
        if (option.kind != OptionKind::box) continue;
        if (key == option.key) return index;
        ++index;
    }
    return kBoxCount;
}

}  // namespace purgeon
