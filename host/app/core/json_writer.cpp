// The JSON writer: objects, arrays, strings and numbers, indented.
#include "host/app/core/json_writer.h"

#include <cmath>
#include <cstdio>

#include "host/app/core/number_format.h"

namespace fighost {
namespace {

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80           ? 0
                    : (c >> 5) == 0x6  ? 1
                    : (c >> 4) == 0xE  ? 2
                    : (c >> 3) == 0x1E ? 3
                                       : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size())
            return false;
        unsigned long code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        static const unsigned long kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

std::string jsonQuoted(const std::string& value) {
    // Names come from files in any encoding; text that is not UTF-8 is read as Latin-1 so that
    // the document stays valid JSON.
    bool utf8 = isUtf8(value);
    std::string out = "\"";
    for (unsigned char c : value) {
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
                if (c < 0x20 || (c >= 0x80 && !utf8)) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

void JsonWriter::prefix(const char* key) {
    if (!hasItems_.empty()) {
        if (hasItems_.back())
            out_ += ',';
        out_ += '\n';
        out_.append(hasItems_.size() * 2, ' ');
        hasItems_.back() = true;
    }
    if (key != nullptr)
        out_ += jsonQuoted(key) + ": ";
}

void JsonWriter::raw(const char* key, const std::string& text) {
    prefix(key);
    out_ += text;
}

void JsonWriter::beginObject(const char* key) {
    raw(key, "{");
    hasItems_.push_back(false);
}

void JsonWriter::endObject() {
    bool any = hasItems_.back();
    hasItems_.pop_back();
    if (any) {
        out_ += '\n';
        out_.append(hasItems_.size() * 2, ' ');
    }
    out_ += '}';
}

void JsonWriter::beginArray(const char* key) {
    raw(key, "[");
    hasItems_.push_back(false);
}

void JsonWriter::endArray() {
    bool any = hasItems_.back();
    hasItems_.pop_back();
    if (any) {
        out_ += '\n';
        out_.append(hasItems_.size() * 2, ' ');
    }
    out_ += ']';
}

void JsonWriter::string(const char* key, const std::string& value) {
    raw(key, jsonQuoted(value));
}

void JsonWriter::number(const char* key, double value) {
    raw(key, std::isfinite(value) ? doubleText(value) : "null");
}

void JsonWriter::floatNumber(const char* key, float value) {
    raw(key, std::isfinite(value) ? floatText(value) : "null");
}

void JsonWriter::integer(const char* key, long long value) {
    raw(key, std::to_string(value));
}

void JsonWriter::boolean(const char* key, bool value) {
    raw(key, value ? "true" : "false");
}

void JsonWriter::null(const char* key) {
    raw(key, "null");
}

void JsonWriter::point(const char* key, float x, float y, float z) {
    // Points stay on one line: a tree of limbs reads better that way.
    auto item = [](float v) { return std::isfinite(v) ? floatText(v) : std::string("null"); };
    raw(key, "[" + item(x) + ", " + item(y) + ", " + item(z) + "]");
}

void JsonWriter::stringList(const char* key, const std::vector<std::string>& values) {
    std::string text = "[";
    for (size_t i = 0; i < values.size(); ++i)
        text += (i ? ", " : "") + jsonQuoted(values[i]);
    raw(key, text + "]");
}

std::string JsonWriter::text() const {
    return hasItems_.empty() ? out_ + "\n" : out_;
}

}  // namespace fighost
