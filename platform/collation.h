// Comparing texts as the user's language orders them.
#pragma once

#include <string>
#include <string_view>

namespace purgeon {

class Collation {
public:
    virtual ~Collation() = default;
    // Negative, zero or positive as a comes before, with or after b in the user's language,
    // ignoring case.
    virtual int compareIgnoringCase(const std::wstring& a, const std::wstring& b) const = 0;
    // True when the texts are the same letter by letter, ignoring case (no language rules).
    virtual bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) const = 0;
    // Bytes that order as compareIgnoringCase orders the texts, compared byte by byte (unsigned),
    // so that a list sorts many rows without asking the language rules again. Safe to call from
    // any thread.
    virtual std::string sortKey(std::wstring_view text) const = 0;
};

}  // namespace purgeon
