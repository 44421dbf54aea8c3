// The options as plain values, held apart from any window: what the exit-time run and the
// command line read from the store.
#pragma once

#include <array>
#include <cstddef>

#include "prefs/preferences.h"

namespace purgeon {

class StoredOptions : public OptionControls {
public:
    int checkBox(std::size_t row) const override { return m_boxes.at(row); }
    void setCheckBox(std::size_t row, int value) override { m_boxes.at(row) = value; }
    bool quick() const override { return m_quick; }
    void setQuick(bool selected) override { m_quick = selected; }
    // The other shredding button is always the opposite of quick here.
    void setDod(bool) override {}

private:
    std::array<int, kCheckBoxKeys.size()> m_boxes{};
    bool m_quick = true;
};

}  // namespace purgeon
