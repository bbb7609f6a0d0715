// The standard streams as programs of this project use them.
#pragma once

#include <cstdio>

namespace platform {

// Writes stream's bytes as they are: no line-end translation (Windows turns "\n" into "\r\n" in
// text mode; elsewhere streams are binary already).
void setBinaryOutput(std::FILE* stream);

}  // namespace platform
