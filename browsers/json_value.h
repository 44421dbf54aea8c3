// Just enough JSON to read a browser's settings files: objects, arrays, strings and the rest.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace purgeon {

struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
    std::string text;  // a string's value (UTF-8), or a number's or literal's spelling
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    // The member of that name, or null when there is none or this is not an object.
    const JsonValue* member(const std::string& name) const;
};

// Nothing when the text is not one whole JSON value.
std::optional<JsonValue> parseJson(std::string_view text);

// The value as compact JSON text: members in name order, numbers and literals as they were read.
std::string toJson(const JsonValue& value);

}  // namespace purgeon
