// A small recursive JSON reader.
#include "browsers/json_value.h"

#include <cstdint>

#include "browsers/utf8_text.h"

namespace purgeon {

namespace {

constexpr int kMaxDepth = 64;

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool value(JsonValue& out, int depth) {
        skipBlanks();
        if (depth >= kMaxDepth || m_pos >= m_text.size()) return false;
        const char c = m_text[m_pos];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::string;
            return string(out.text);
        }
        return literal(out);
    }

    bool atEnd() {
        skipBlanks();
        return m_pos == m_text.size();
    }

private:
    void skipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool take(char c) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::object;
        ++m_pos;
        if (take('}')) return true;
        do {
            std::string name;
            skipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"' || !string(name) || !take(':'))
                return false;
            JsonValue member;
            if (!value(member, depth + 1)) return false;
            out.members[name] = std::move(member);
        } while (take(','));
        return take('}');
    }

    bool array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::array;
        ++m_pos;
        if (take(']')) return true;
        do {
            JsonValue item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
        } while (take(','));
        return take(']');
    }

    bool hex4(std::uint32_t& code) {
        if (m_pos + 4 > m_text.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_pos++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<std::uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<std::uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<std::uint32_t>(h - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool string(std::string& out) {
        ++m_pos;  // the opening quote
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) return false;
            const char escaped = m_text[m_pos++];
            switch (escaped) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    std::uint32_t code = 0;
                    if (!hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && m_text.substr(m_pos, 2) == "\\u") {
                        m_pos += 2;
                        std::uint32_t low = 0;
                        if (!hex4(low) || low < 0xDC00 || low >= 0xE000) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;  // a lone half
                    appendUtf8(out, static_cast<char32_t>(code));
                    break;
                }
                default:
                    out += escaped;
                    break;
            }
        }
        return false;
    }

    bool literal(JsonValue& out) {
        const size_t start = m_pos;
        while (m_pos < m_text.size() &&
               std::string_view(",}] \t\r\n").find(m_text[m_pos]) == std::string_view::npos)
            ++m_pos;
        out.text = std::string(m_text.substr(start, m_pos - start));
        if (out.text == "null")
            out.kind = JsonValue::Kind::null;
        else if (out.text == "true" || out.text == "false")
            out.kind = JsonValue::Kind::boolean;
        else if (!out.text.empty() &&
                 (out.text[0] == '-' || (out.text[0] >= '0' && out.text[0] <= '9')))
            out.kind = JsonValue::Kind::number;
        else
            return false;
        return true;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

}  // namespace

const JsonValue* JsonValue::member(const std::string& name) const {
    const auto found = members.find(name);
    return found == members.end() ? nullptr : &found->second;
}

std::optional<JsonValue> parseJson(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Reader reader(text);
    JsonValue value;
    if (!reader.value(value, 0) || !reader.atEnd()) return std::nullopt;
    return value;
}

namespace {

void appendString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[(c >> 4) & 0xF];
                    out += kHex[c & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void append(std::string& out, const JsonValue& value) {
    switch (value.kind) {
        case JsonValue::Kind::string:
            appendString(out, value.text);
            break;
        case JsonValue::Kind::array: {
            out += '[';
            bool first = true;
            for (const JsonValue& item : value.items) {
                if (!first) out += ',';
                first = false;
                append(out, item);
            }
            out += ']';
            break;
        }
        case JsonValue::Kind::object: {
            out += '{';
            bool first = true;
            for (const auto& [name, member] : value.members) {
                if (!first) out += ',';
                first = false;
                appendString(out, name);
                out += ':';
                append(out, member);
            }
            out += '}';
            break;
        }
        default:
            out += value.text.empty() ? std::string("null") : value.text;
            break;
    }
}

}  // namespace

std::string toJson(const JsonValue& value) {
    std::string out;
    append(out, value);
    return out;
}

}  // namespace purgeon
