// Builds the lines of a written figure file one at a time and writes each, indentation and text
// together, with one StdPutLine: saving costs one operating-system write per line, whatever the
// nesting. Each line's end reaches the file as carriage return and line feed.
#pragma once

#include <cstddef>

#include "hierarchy/std_file.h"

class LineWriter {
  public:
    // Writes into file, which stays the caller's.
    explicit LineWriter(tagStandardFile* file) : file_(file) {}

    // Starts a line indented by depth tabs (cut to 0 to kMaxIndent).
    void begin(int depth);
    // Appends text to the line.
    void text(const char* text);
    // Appends a value the way the file writes numbers: "%g", six significant digits.
    void number(double value);
    // Appends a value in the shortest form that reads back as the same double ("0.008333").
    void exactNumber(double value);
    // Appends a count.
    void count(unsigned value);
    // Appends a name as one token for the reader: as it stands, or in double quotes when it is
    // empty or holds a separator or a double quote (see quotedName).
    void name(const char* name);
    // Ends the line and writes what is left of it.
    void end();
    // False once any write has failed; nothing is written after that.
    bool ok() const { return ok_; }

    // The deepest indentation written, in tabs.
    static constexpr int kMaxIndent = 1000;

  private:
    void append(const char* bytes, size_t length);
    void flush(bool endsLine);
    bool writeExact(const char* bytes, size_t length);

    tagStandardFile* file_;
    int indent_ = 0;
    bool pieceWritten_ = false;  // part of this line (with its indentation) has gone out already
    size_t length_ = 0;
    bool ok_ = true;
    char text_[kStdBufferSize];
};

// Writes name into out (at least 2 * length + 3 bytes) as a quoted token: a double quote, the
// name with each double quote written as backslash and double quote, a double quote. The reader
// takes a backslash and the character after it as a pair, so a run of an odd number of
// backslashes right before a double quote or at the end of the name cannot be read back as it
// stands: one backslash of such a run is left out ("a b\" is written "a b"). Returns out.
char* quotedName(const char* name, char* out);
// Whether a name must be written in quotes to be read back as one token.
bool nameNeedsQuotes(const char* name);
