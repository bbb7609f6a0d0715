// The commands of fighost's Qt library: render and frames write pictures, open shows the window.
// Each takes the arguments fighost parsed and returns the exit status.
#pragma once

#include "host/app/core/command_line.h"

namespace fighost {

int runRenderCommand(const ParsedArguments& parsed);
int runFramesCommand(const ParsedArguments& parsed);
int runOpenCommand(const ParsedArguments& parsed);

}  // namespace fighost
