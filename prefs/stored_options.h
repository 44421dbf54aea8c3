// The options as plain values, held apart from any window: what the exit-time run and the
// command line read from the store.
#pragma once

#include <array>
#include <cstddef>

#include "prefs/preferences.h"

namespace purgeon {

class StoredOptions : public OptionControls {
public:
    int checkBox(std::wstring_view key) const override {
        const std::size_t box = boxIndex(key);
        return box < kBoxCount ? m_boxes[box] : 0;
    }
    void setCheckBox(std::wstring_view key, int value) override {
        if (const std::size_t box = boxIndex(key); box < kBoxCount) m_boxes[box] = value;
    }
    bool quick() const override { return m_quick; }
    void setQuick(bool selected) override { m_quick = selected; }
    // The other shredding button is always the opposite of quick here.
    void setDod(bool) override {}

private:
    std::array<int, kBoxCount> m_boxes{};
    bool m_quick = true;
};

}  // namespace purgeon
