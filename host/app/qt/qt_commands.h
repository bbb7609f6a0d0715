// The commands that need Qt (render, frames, open) live in a library of their own that fighost
// loads only when one of them runs, so that info and convert start without mapping Qt at all.
#pragma once

#include "host/app/core/command_line.h"

namespace fighost {

// The name of the library's entry and its type: runs the command of that name on the arguments
// fighost parsed and returns the exit status.
constexpr char kQtCommandEntry[] = "fighostRunQtCommand";
using QtCommandEntry = int (*)(const char* command, const ParsedArguments* parsed);

}  // namespace fighost
