// fighost's commands: info, render, frames and convert, each with its --help.
#pragma once

#include <string>
#include <vector>

namespace fighost {

// Runs fighost on its arguments (without the program name) and returns the exit status: 0 done,
// 1 with one line on stderr (or the module's own messages) when something went wrong.
int runFighost(int argc, char** argv);

}  // namespace fighost
