// The character fast path of the text-file layer, shared by its line and token readers so that
// the common case (the next byte is already in the read buffer) costs no call. Not exported.
#pragma once

#include <cstdint>

#include "hierarchy/std_file.h"

namespace std_file_detail {

// Returns the number of bytes of the record's read buffer still to hand out, or 0 when the
// buffer is empty or its fields do not describe a block inside it (a raw read or write reuses
// bufferIndex as a byte count, and outside callers can reach the fields).
inline uint32_t bufferedBytes(const tagStandardFile* file) {
    const uint32_t left = file->bytesLeft;
    const uint32_t index = static_cast<uint32_t>(file->bufferIndex);
    if (left == 0 || left > static_cast<uint32_t>(kStdBufferSize) ||
        index > static_cast<uint32_t>(kStdBufferSize) - left) {
        return 0;
    }
    return left;
}

// Reads the next block into an empty (or inconsistent) buffer and hands out its first byte;
// -1 at the end of the file or on a read error, with the buffer left empty.
int refillAndTake(tagStandardFile* file);

// Returns the next byte of a live record as 0 to 255, or -1 at the end of the file.
inline int takeChar(tagStandardFile* file) {
    if (bufferedBytes(file) != 0) {
        --file->bytesLeft;
        return static_cast<unsigned char>(file->readBuffer[file->bufferIndex++]);
    }
    return refillAndTake(file);
}

}  // namespace std_file_detail
