// Long texts made to fit a field or a panel: shortened in the middle with an ellipsis, so that a
// path keeps its start and its file name.
#pragma once

#include <functional>
#include <string>

namespace purgeon {

// Whether a text fits the room it is shown in.
using FitsWidth = std::function<bool(const std::wstring& text)>;

// The text as it is when it fits. Otherwise as much of its start as fits, "…", and its end: the
// last part of a path (after its last "\") whole when there is room for it, else as much of the
// end as fits. Gives "…" alone when nothing else fits.
std::wstring shortenedInMiddle(const std::wstring& text, const FitsWidth& fits);

}  // namespace purgeon
