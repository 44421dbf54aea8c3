// Reading an INI file such as Firefox's profiles.ini into its sections.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace purgeon {

struct IniSection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> values;
    // The value of the first key of that name (case ignored), empty when there is none.
    std::wstring value(const std::wstring& key) const;
};

// Sections in file order; blank lines and lines starting with ";" or "#" are skipped, and
// blanks around names and values are dropped.
std::vector<IniSection> parseIni(const std::wstring& text);

}  // namespace purgeon
