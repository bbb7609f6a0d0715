// What a built ELF library says about itself, read from its file: the libraries its dynamic
// section needs and the symbols its dynamic symbol table defines. 64-bit files only; empty for
// anything else. (Not built for Windows, whose libraries are PE files.)
#pragma once

#include <set>
#include <string>
#include <vector>

namespace testing_support {

std::vector<std::string> neededLibraries(const std::string& path);
std::set<std::string> definedDynamicSymbols(const std::string& path);

}  // namespace testing_support
