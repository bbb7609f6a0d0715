// Where fighost finds the libraries it loads at run time: the module it drives by default and its
// own Qt library. An installed fighost (PREFIX/bin/fighost) finds them in one folder beside it
// (PREFIX/lib/fighost/), wherever the tree was unpacked; a fighost run from its build folder
// finds the ones built with it.
#pragma once

#include <string>

namespace fighost {

// The folder of the running program, with its trailing '/'; empty when the system cannot say.
std::string programFolder();

// The path of the library fileName ("libfigure.so"): in the installed folder relative to the
// program when that folder holds it, else builtPath, where the build put it.
std::string libraryPath(const char* fileName, const char* builtPath);

}  // namespace fighost
