// Writing a figure file line by line.
#include "hierarchy/line_writer.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// Text of a line that fits one StdPutLine together with its line feed: the formatted text and
// its converted form (the line feed becomes two bytes) must each fit in kTokenSize bytes.
constexpr size_t kLineRoom = static_cast<size_t>(kTokenSize) - 2;

// The indentation of the deepest line, handed to StdPutLine as a "%.*s" argument.
struct Tabs {
    char text[LineWriter::kMaxIndent + 1];
};
constexpr Tabs makeTabs() {
    Tabs tabs{};
    for (int i = 0; i < LineWriter::kMaxIndent; ++i) {
        tabs.text[i] = '\t';
    }
    return tabs;
}
constexpr Tabs kTabs = makeTabs();

bool holdsLineBreak(const char* text, size_t length) {
    return std::memchr(text, '\r', length) != nullptr || std::memchr(text, '\n', length) != nullptr;
}

}  // namespace

void LineWriter::begin(int depth) {
    indent_ = depth < 0 ? 0 : depth > kMaxIndent ? kMaxIndent : depth;
    pieceWritten_ = false;
    length_ = 0;
}

void LineWriter::text(const char* text) {
    append(text, std::strlen(text));
}

void LineWriter::number(double value) {
    char digits[40];
    const int length = std::snprintf(digits, sizeof digits, "%g", value);
    append(digits, length > 0 ? static_cast<size_t>(length) : 0);
}

void LineWriter::exactNumber(double value) {
    char digits[40];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    append(digits, written.ec == std::errc() ? static_cast<size_t>(written.ptr - digits) : 0);
}

void LineWriter::count(unsigned value) {
    char digits[16];
    const int length = std::snprintf(digits, sizeof digits, "%u", value);
    append(digits, length > 0 ? static_cast<size_t>(length) : 0);
}

void LineWriter::name(const char* name) {
    if (!nameNeedsQuotes(name)) {
        text(name);
        return;
    }
    // Names are at most kMapNameSize - 1 characters, channel names fewer; longer ones are cut.
    char quoted[2 * 64 + 3];
    char cut[64];
    std::snprintf(cut, sizeof cut, "%s", name);
    text(quotedName(cut, quoted));
}

void LineWriter::end() {
    flush(true);
}

void LineWriter::append(const char* bytes, size_t length) {
    while (length > 0) {
        const size_t used = length_ + (pieceWritten_ ? 0 : static_cast<size_t>(indent_));
        if (used >= kLineRoom) {
            flush(false);
            continue;
        }
        const size_t take = length < kLineRoom - used ? length : kLineRoom - used;
        std::memcpy(text_ + length_, bytes, take);
        length_ += take;
        bytes += take;
        length -= take;
    }
}

// Writes the line so far: in one StdPutLine with its indentation (unless a piece of the line
// went out before) and, at the end of the line, its line feed. A line only grows past one piece
// when it is longer than StdPutLine takes. StdPutLine would turn a carriage return or line feed
// inside a name into a line end, so a line holding one is written byte for byte instead.
void LineWriter::flush(bool endsLine) {
    const int indent = pieceWritten_ ? 0 : indent_;
    text_[length_] = '\0';
    pieceWritten_ = true;
    const size_t length = length_;
    length_ = 0;
    if (!ok_) {
        return;
    }
    if (holdsLineBreak(text_, length)) {
        ok_ = writeExact(kTabs.text, static_cast<size_t>(indent)) && writeExact(text_, length) &&
              (!endsLine || writeExact("\r\n", 2));
    } else if (endsLine) {
        ok_ = StdPutLine(file_, "%.*s%s\n", indent, kTabs.text, text_) == 1;
    } else if (indent > 0 || length > 0) {
        ok_ = StdPutLine(file_, "%.*s%s", indent, kTabs.text, text_) == 1;
    }
}

bool LineWriter::writeExact(const char* bytes, size_t length) {
    if (length == 0) {
        return true;
    }
    return StdWriteFile(file_, const_cast<char*>(bytes), length) == static_cast<int>(length);
}

bool nameNeedsQuotes(const char* name) {
    // An empty name would swallow the next token; the others would end the token early.
    return name[0] == '\0' || std::strpbrk(name, "\t\n\r ,\"") != nullptr;
}

char* quotedName(const char* name, char* out) {
    char* to = out;
    *to++ = '"';
    for (const char* from = name; *from != '\0';) {
        if (*from == '\\') {
            size_t run = 0;
            while (from[run] == '\\') {
                ++run;
            }
            // Before a quote or the closing quote an odd run would pair its last backslash with
            // that quote; it is written one shorter.
            const char next = from[run];
            const size_t kept = next == '"' || next == '\0' ? run & ~static_cast<size_t>(1) : run;
            std::memset(to, '\\', kept);
            to += kept;
            from += run;
            continue;
        }
        if (*from == '"') {
            *to++ = '\\';
        }
        *to++ = *from++;
    }
    *to++ = '"';
    *to = '\0';
    return out;
}
