// The option controls as plain values, for tests of storing and reading the options.
#pragma once

#include <array>
#include <cstddef>

#include "prefs/preferences.h"

namespace purgeon::fakes {

struct PlainOptions : OptionControls {
    int checkBox(std::wstring_view key) const override {
        return boxIndex(key) < kBoxCount ? boxes[boxIndex(key)] : 0;
    }
    void setCheckBox(std::wstring_view key, int value) override {
        if (boxIndex(key) < kBoxCount) boxes[boxIndex(key)] = value;
    }
    bool quick() const override { return quickSelected; }
    void setQuick(bool selected) override { quickSelected = selected; }
    void setDod(bool selected) override { dodSelected = selected; }
    std::array<int, kBoxCount> boxes{};  // in the option table's order
    bool quickSelected = false;
    bool dodSelected = false;
};

}  // namespace purgeon::fakes
