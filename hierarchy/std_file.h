// The buffered text-file layer, exported from the module for the host's other modules as well.
// A record wraps one operating-system file handle with a 4096-byte read buffer and a 4096-byte
// line buffer. Every function accepts a null record and returns its "no record" value.
#pragma once

#include <cstdint>

// Size of each of the record's buffers and of the module-wide token buffer.
constexpr int kStdBufferSize = 4096;
// Longest token or line: one byte of each buffer is kept for the terminator.
constexpr int kTokenSize = kStdBufferSize - 1;

// Open styles the module passes to StdOpenFile.
constexpr unsigned long kStdOpenRead = 64;     // existing file, for reading, shared
constexpr unsigned long kStdOpenCreate = 4161; // create or cut to length 0, for writing, shared

extern "C" {

// One open file: one heap allocation, zero-filled at open, freed by a successful StdCloseFile.
// Between calls: while a file is read by characters, bufferIndex + bytesLeft is the size of the
// block last read and bufferStart + bufferIndex is the file position of the next character.
struct tagStandardFile {
    int32_t handle;                        // never -1 in a live record
    char readBuffer[kStdBufferSize];       // the block being handed out; also the area where
                                           // StdPutLine builds converted text
    char lineBuffer[kStdBufferSize];       // StdGetLine's line; StdPutLine's formatted text
    int32_t bufferStart;                   // file position where the last block read started
    uint32_t bytesLeft;                    // bytes of readBuffer not yet handed out; 0 = empty
    int32_t bufferIndex;                   // next byte to hand out; after StdReadFile or
                                           // StdWriteFile, the bytes that call moved
};

tagStandardFile* StdOpenFile(const char* fileName, unsigned long style);
int StdCloseFile(tagStandardFile* file);
int StdGetFileHandle(tagStandardFile* file);
int StdFlush(tagStandardFile* file);
long StdGetFilePos(tagStandardFile* file);
int StdRewind(tagStandardFile* file);
int StdSeek(tagStandardFile* file, unsigned long offset, unsigned int origin);
int StdReadFile(tagStandardFile* file, void* buffer, unsigned long bytes);
int StdWriteFile(tagStandardFile* file, void* buffer, unsigned long bytes);
int StdGetChar(tagStandardFile* file);
int StdSkipToNextChar(tagStandardFile* file, int character);
char* StdGetLine(tagStandardFile* file);
char* StdGetNextArg(tagStandardFile* file);
int StdPutLineEx(tagStandardFile* file, unsigned int flags, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
int StdPutLine(tagStandardFile* file, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

}  // extern "C"
