// Writing a whole output file so that a failure is always reported and never leaves a
// half-written file behind in the place of the one asked for.
#pragma once

#include <string>

namespace fighost {

// Writes bytes to path. A regular file, or a path where nothing is yet, is written through a
// temporary file in the same folder that takes the path's place only when every byte is written
// and the file closed; on failure the temporary file is removed and what was at the path stays
// as it was. A replaced file keeps its permissions; a symbolic link is followed to its file.
// Anything else (a device such as /dev/full, a pipe) is written directly. False with one line
// for the user ("cannot write PATH") in error.
bool writeWholeFile(const std::string& path, const std::string& bytes, std::string* error);

// Flushes stdout. False with one line for the user when anything written to it was lost (a full
// device, a closed output).
bool flushStandardOutput(std::string* error);

// Gives each of the standard descriptors that is closed a stand-in on /dev/null, opened for
// reading only, so that files opened later never take its number and writes to a closed output
// still fail.
void guardStandardDescriptors();

}  // namespace fighost
