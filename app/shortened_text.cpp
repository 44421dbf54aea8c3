// Shortening a text in its middle.
#include "app/shortened_text.h"

#include <cstddef>

namespace purgeon {

namespace {

constexpr wchar_t kEllipsis[] = L"\u2026";

// The longest start of the text, up to limit characters, that fits before the ellipsis and the
// end; found by halving, since longer starts are never narrower.
std::size_t longestStart(const std::wstring& text, std::size_t limit, const std::wstring& end,
                         const FitsWidth& fits) {
    std::size_t low = 0;
    std::size_t high = limit;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(text.substr(0, middle) + kEllipsis + end)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

}  // namespace

std::wstring shortenedInMiddle(const std::wstring& text, const FitsWidth& fits) {
    if (text.empty() || fits(text)) return text;
    // A path keeps its last part whole, and as much of its start as there is room for.
    const std::size_t slash = text.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0) {
        const std::wstring name = text.substr(slash);
        if (fits(std::wstring(kEllipsis) + name)) {
            const std::size_t start = longestStart(text, slash, name, fits);
            return text.substr(0, start) + kEllipsis + name;
        }
    }
    // Otherwise the start and the end share the room, the start taking the odd character.
    std::size_t low = 0;
    std::size_t high = text.size() - 1;
    while (low < high) {
        const std::size_t kept = (low + high + 1) / 2;
        const std::size_t head = (kept + 1) / 2;
        if (fits(text.substr(0, head) + kEllipsis + text.substr(text.size() - (kept - head)))) {
            low = kept;
        } else {
            high = kept - 1;
        }
    }
    const std::size_t head = (low + 1) / 2;
    return text.substr(0, head) + kEllipsis + text.substr(text.size() - (low - head));
}

}  // namespace purgeon
