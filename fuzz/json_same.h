// Whether two JSON values read the same: kind, spelling, items and members, all the way down.
#pragma once

#include "browsers/json_value.h"

namespace purgeon::fuzz {

inline bool sameJson(const JsonValue& a, const JsonValue& b) {
    if (a.kind != b.kind || a.text != b.text || a.items.size() != b.items.size() ||
        a.members.size() != b.members.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!sameJson(a.items[i], b.items[i])) return false;
    auto left = a.members.begin();
    for (auto right = b.members.begin(); right != b.members.end(); ++left, ++right)
        if (left->first != right->first || !sameJson(left->second, right->second)) return false;
    return true;
}

}  // namespace purgeon::fuzz
