// The buffered text-file layer: one record per open file, blocks of 4096 bytes read with one
// operating-system call each, and characters, lines and tokens handed out from memory.
#include "hierarchy/std_file.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "hierarchy/std_file_internal.h"
#include "platform/win_file.h"

namespace {

// The module's one token buffer. StdGetNextArg empties and refills it on every call, for every
// file, and returns it; a token stays valid only until the next StdGetNextArg call on any file.
char tokenBuffer[kStdBufferSize];

// How the token reader sees each byte value.
enum ByteClass : unsigned char {
    kOrdinary = 0,
    kSeparator = 1,  // tab, line feed, carriage return, space and comma end a plain token
    kQuote = 2,      // a double quote starts a quoted token
};

struct ByteClasses {
    unsigned char of[256];
};

constexpr ByteClasses makeByteClasses() {
    ByteClasses classes{};
    constexpr unsigned char kSeparators[] = {'\t', '\n', '\r', ' ', ','};
    for (unsigned char separator : kSeparators)
        classes.of[separator] = kSeparator;
    classes.of[static_cast<unsigned char>('"')] = kQuote;
    return classes;
}

constexpr ByteClasses kByteClasses = makeByteClasses();

// Position of the next unread byte of the read buffer.
const unsigned char* nextBytes(const tagStandardFile* file) {
    return reinterpret_cast<const unsigned char*>(file->readBuffer) + file->bufferIndex;
}

// Hands out count bytes of the read buffer without looking at them.
void consume(tagStandardFile* file, uint32_t count) {
    file->bufferIndex += static_cast<int32_t>(count);
    file->bytesLeft -= count;
}

// Reads the next block into the read buffer: bufferStart becomes the operating system's position
// and bufferIndex 0. Returns the bytes read; 0 at the end of the file, on a read error or when the
// position cannot be told, with the buffer left empty so that a later call tries again.
uint32_t refill(tagStandardFile* file) {
    file->bytesLeft = 0;
    const long position = win::_llseek(file->handle, 0, 1);
    if (position < 0) {
        return 0;
    }
    file->bufferStart = static_cast<int32_t>(position);
    // Also at the end of the file, so that the position reported afterwards is the file's end.
    file->bufferIndex = 0;
    const long count = win::_lread(file->handle, file->readBuffer, kStdBufferSize);
    if (count <= 0) {
        return 0;
    }
    file->bytesLeft = static_cast<uint32_t>(count);
    return file->bytesLeft;
}

// Returns the bytes waiting in the read buffer, reading the next block when there are none.
uint32_t available(tagStandardFile* file) {
    const uint32_t left = std_file_detail::bufferedBytes(file);
    return left != 0 ? left : refill(file);
}

// Gathers the rest of a quoted token, its opening quote already read, into the token buffer.
// A token that fills up drops the character read next; when that happens in the middle of a
// backslash pair, the backslash is kept and the character after it is the one dropped.
char* readQuotedToken(tagStandardFile* file) {
    size_t length = 0;
    for (;;) {
        const int c = std_file_detail::takeChar(file);
        if (c < 0 || length == static_cast<size_t>(kTokenSize) || c == '"') {
            break;
        }
        if (c != '\\') {
            tokenBuffer[length++] = static_cast<char>(c);
            continue;
        }
        const int next = std_file_detail::takeChar(file);
        if (next == '"') {
            tokenBuffer[length++] = '"';
            continue;
        }
        tokenBuffer[length++] = '\\';
        if (next < 0 || length == static_cast<size_t>(kTokenSize)) {
            break;
        }
        tokenBuffer[length++] = static_cast<char>(next);
    }
    tokenBuffer[length] = '\0';
    return tokenBuffer;
}

// Builds the converted form of lineBuffer's first length bytes in readBuffer: carriage returns
// dropped, line feeds as CR LF, and with escapeQuotes each double quote as backslash and quote.
// Stops before the first piece that would not fit in kTokenSize bytes; returns the bytes built.
size_t convertLine(tagStandardFile* file, size_t length, bool escapeQuotes) {
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = file->lineBuffer[i];
        if (c == '\r') {
            continue;
        }
        const bool pair = c == '\n' || (escapeQuotes && c == '"');
        if (out + (pair ? 2 : 1) > static_cast<size_t>(kTokenSize)) {
            break;
        }
        if (pair) {
            file->readBuffer[out++] = c == '\n' ? '\r' : '\\';
        }
        file->readBuffer[out++] = c;
    }
    return out;
}

// When a formatted text is converted before it is written.
enum class Conversion { kWhenLineFeed, kAlways };

// Formats into lineBuffer, converts into readBuffer when asked, and writes with one _lwrite.
// Returns 1 when every byte of a non-empty text reached the file, else 0.
int writeFormatted(tagStandardFile* file, Conversion conversion, bool escapeQuotes,
                   const char* format, va_list args) {
    if (format == nullptr) {
        return 0;
    }
    const int formatted = std::vsnprintf(file->lineBuffer, sizeof(file->lineBuffer), format, args);
    if (formatted < 0) {
        file->lineBuffer[0] = '\0';
        return 0;
    }
    // A longer text has been cut by vsnprintf to what lineBuffer holds.
    const size_t length =
        formatted > kTokenSize ? static_cast<size_t>(kTokenSize) : static_cast<size_t>(formatted);
    const char* text = file->lineBuffer;
    size_t size = length;
    if (conversion == Conversion::kAlways || std::memchr(file->lineBuffer, '\n', length)) {
        size = convertLine(file, length, escapeQuotes);
        text = file->readBuffer;
    }
    // Writing nothing would set the end of the file at the current position.
    if (size == 0) {
        return 0;
    }
    const long written = win::_lwrite(file->handle, text, size);
    return written == static_cast<long>(size) ? 1 : 0;
}

}  // namespace

namespace std_file_detail {

int refillAndTake(tagStandardFile* file) {
    if (refill(file) == 0) {
        return -1;
    }
    --file->bytesLeft;
    return static_cast<unsigned char>(file->readBuffer[file->bufferIndex++]);
}

}  // namespace std_file_detail

extern "C" {

// Opens fileName with the given OpenFile style in a fresh zero-filled record; null when the record
// cannot be allocated or the file cannot be opened. The caller frees it with StdCloseFile.
tagStandardFile* StdOpenFile(const char* fileName, unsigned long style) {
    if (style > UINT_MAX) {
        return nullptr;
    }
    std::unique_ptr<tagStandardFile, decltype(&std::free)> file(
        static_cast<tagStandardFile*>(std::calloc(1, sizeof(tagStandardFile))), &std::free);
    if (!file) {
        return nullptr;
    }
    win::OFSTRUCT scratch;
    const win::HFILE handle = win::OpenFile(fileName, &scratch, static_cast<unsigned>(style));
    if (handle < 0) {
        return nullptr;
    }
    file->handle = handle;
    return file.release();
}

// Closes the handle and frees the record: 1. When the close fails: 0, and the record stays.
int StdCloseFile(tagStandardFile* file) {
    if (file == nullptr) {
        return 0;
    }
    if (win::_lclose(file->handle) == win::kFileError) {
        return 0;
    }
    std::free(file);
    return 1;
}

// Returns the handle, after moving the operating system's position onwards by StdGetFilePos.
int StdGetFileHandle(tagStandardFile* file) {
    if (file == nullptr) {
        return 0;
    }
    win::_llseek(file->handle, StdGetFilePos(file), 1);
    return file->handle;
}

// Empties the read buffer without touching the file: 1.
int StdFlush(tagStandardFile* file) {
    if (file == nullptr) {
        return 0;
    }
    file->bufferStart = 0;
    file->bytesLeft = 0;
    file->bufferIndex = 0;
    return 1;
}

// Returns the file position of the next character handed out: bufferStart + bufferIndex.
long StdGetFilePos(tagStandardFile* file) {
    if (file == nullptr) {
        return 0;
    }
    return static_cast<long>(file->bufferStart) + file->bufferIndex;
}

// Moves to the start of the file and empties the buffer: 1; 0 and nothing changed when it fails.
int StdRewind(tagStandardFile* file) {
    if (file == nullptr) {
        return 0;
    }
    if (win::_llseek(file->handle, 0, 0) < 0) {
        return 0;
    }
    return StdFlush(file);
}

// Empties the buffer, then moves the operating system's position: the new position, or -1.
// The offset is taken as signed, so a caller may pass a negative amount for origins 1 and 2.
int StdSeek(tagStandardFile* file, unsigned long offset, unsigned int origin) {
    if (file == nullptr) {
        return 0;
    }
    StdFlush(file);
    const int from = origin > 2 ? -1 : static_cast<int>(origin);
    return static_cast<int>(win::_llseek(file->handle, static_cast<long>(offset), from));
}

// Reads up to bytes bytes into buffer at the operating system's position, past the read buffer:
// the count (0 at the end), 0 on an error. bufferStart and bufferIndex describe the read.
int StdReadFile(tagStandardFile* file, void* buffer, unsigned long bytes) {
    if (file == nullptr) {
        return 0;
    }
    const long position = win::_llseek(file->handle, 0, 1);
    if (position < 0) {
        file->bufferIndex = 0;
        return 0;
    }
    file->bufferStart = static_cast<int32_t>(position);
    const long count = win::_lread(file->handle, buffer, bytes);
    file->bufferIndex = count < 0 ? 0 : static_cast<int32_t>(count);
    return file->bufferIndex;
}

// Writes the bytes unchanged at the operating system's position: the count written, 0 on an
// error; bufferIndex holds the same count afterwards.
int StdWriteFile(tagStandardFile* file, void* buffer, unsigned long bytes) {
    if (file == nullptr) {
        return 0;
    }
    // Writing nothing would set the end of the file at the current position: no call is made.
    const long count = bytes == 0 ? 0 : win::_lwrite(file->handle, buffer, bytes);
    file->bufferIndex = count < 0 ? 0 : static_cast<int32_t>(count);
    return file->bufferIndex;
}

// Returns the next byte as 0 to 255; -1 at the end of the file or on a read error.
int StdGetChar(tagStandardFile* file) {
    if (file == nullptr) {
        return -1;
    }
    return std_file_detail::takeChar(file);
}

// Reads up to and including the next byte equal to character: 1; -1 when the file ends first.
int StdSkipToNextChar(tagStandardFile* file, int character) {
    if (file == nullptr) {
        return -1;
    }
    for (;;) {
        const int c = std_file_detail::takeChar(file);
        if (c < 0) {
            return -1;
        }
        if (c == character) {
            return 1;
        }
    }
}

// Returns the next non-empty line in lineBuffer, without its line end; null at the end of the
// file. A line stops after kTokenSize characters and the next character begins the next line.
char* StdGetLine(tagStandardFile* file) {
    if (file == nullptr) {
        return nullptr;
    }
    int c;
    do {
        c = std_file_detail::takeChar(file);
    } while (c == '\r' || c == '\n');
    if (c < 0) {
        return nullptr;
    }
    size_t length = 0;
    for (;;) {
        file->lineBuffer[length++] = static_cast<char>(c);
        if (length == static_cast<size_t>(kTokenSize)) {
            break;
        }
        c = std_file_detail::takeChar(file);
        if (c < 0 || c == '\r' || c == '\n') {
            break;
        }
    }
    file->lineBuffer[length] = '\0';
    return file->lineBuffer;
}

// Returns the next token in the module's token buffer; null at the end of the file. Separators
// end a plain token and are consumed. A double quote starts a quoted token (see readQuotedToken).
// A plain token that fills up reads one more character, which ends it whether it is a separator
// or not (a non-separator is dropped). The scans below walk the read buffer a block at a time;
// they hand out exactly the bytes that a character-by-character reading would.
char* StdGetNextArg(tagStandardFile* file) {
    tokenBuffer[0] = '\0';
    if (file == nullptr) {
        return nullptr;
    }
    for (;;) {
        const uint32_t left = available(file);
        if (left == 0) {
            return nullptr;
        }
        const unsigned char* bytes = nextBytes(file);
        uint32_t skipped = 0;
        while (skipped < left && kByteClasses.of[bytes[skipped]] == kSeparator) {
            ++skipped;
        }
        consume(file, skipped);
        if (skipped < left) {
            break;
        }
    }
    size_t length = 0;
    for (;;) {
        const uint32_t left = available(file);
        if (left == 0) {
            break;
        }
        const unsigned char* bytes = nextBytes(file);
        const size_t room = static_cast<size_t>(kTokenSize) - length;
        const uint32_t span = left < room ? left : static_cast<uint32_t>(room);
        uint32_t taken = 0;
        while (taken < span && kByteClasses.of[bytes[taken]] == kOrdinary) {
            ++taken;
        }
        std::memcpy(tokenBuffer + length, bytes, taken);
        length += taken;
        if (taken < span) {
            const unsigned char stop = bytes[taken];
            consume(file, taken + 1);
            if (kByteClasses.of[stop] == kQuote) {
                return readQuotedToken(file);
            }
            break;
        }
        consume(file, taken);
        if (length == static_cast<size_t>(kTokenSize)) {
            std_file_detail::takeChar(file);
            break;
        }
    }
    tokenBuffer[length] = '\0';
    return tokenBuffer;
}

// Formats the text and writes it with one _lwrite, always converted: carriage returns dropped,
// line feeds as CR LF, and with bit 0 of flags each double quote as backslash and quote. A text
// longer than kTokenSize characters is cut to that length; a converted text longer than
// kTokenSize bytes is cut after its last whole piece that fits (never half a CR LF or half an
// escaped quote). Returns 1 when the whole non-empty result was written, else 0.
int StdPutLineEx(tagStandardFile* file, unsigned int flags, const char* format, ...) {
    if (file == nullptr) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const int result = writeFormatted(file, Conversion::kAlways, (flags & 1u) != 0, format, args);
    va_end(args);
    return result;
}

// Formats the text and writes it with one _lwrite: unchanged when it holds no line feed, else
// converted as StdPutLineEx with flags 0. Over-long texts are cut as in StdPutLineEx. Returns 1
// when the whole non-empty result was written; 0 for an empty text or a failed or partial write.
int StdPutLine(tagStandardFile* file, const char* format, ...) {
    if (file == nullptr) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const int result = writeFormatted(file, Conversion::kWhenLineFeed, false, format, args);
    va_end(args);
    return result;
}

}  // extern "C"
