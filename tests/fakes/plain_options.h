// The option controls as plain values, for tests of storing and reading the options.
#pragma once

#include <array>
#include <cstddef>

#include "prefs/preferences.h"

namespace purgeon::fakes {

struct PlainOptions : OptionControls {
    int checkBox(std::size_t row) const override { return boxes.at(row); }
    void setCheckBox(std::size_t row, int value) override { boxes.at(row) = value; }
    bool quick() const override { return quickSelected; }
    void setQuick(bool selected) override { quickSelected = selected; }
    void setDod(bool selected) override { dodSelected = selected; }
    std::array<int, kCheckBoxKeys.size()> boxes{};
    bool quickSelected = false;
    bool dodSelected = false;
};

}  // namespace purgeon::fakes
