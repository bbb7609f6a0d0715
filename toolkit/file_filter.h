// The module's file filters: "description|pattern|description|pattern||", the form its string
// table and its loaders' filter message hand out (patterns separated by ';', as "*.fig;*.bvh").
// One reading of that text for every file dialog that shows it.
#pragma once

#include <string>
#include <vector>

namespace toolkit {

struct FileFilter {
    std::string description;  // without white space around it
    std::string pattern;      // as written: "*.fig" or "*.fig;*.bvh"
};

// The filters of text in order, up to the first empty description (the "||" that ends the
// list); a pair with an empty pattern is left out. Empty for a null text.
std::vector<FileFilter> parseFileFilters(const char* text);

// The filter as a name filter that also carries its patterns, "Figure (*.fig)" or
// "Figures (*.fig *.bvh)": the description as it stands when it ends with its patterns in
// parentheses already, else with them added.
std::string nameFilter(const FileFilter& filter);

// Whether the file name ends with the extension of one of the filter's "*.ext" patterns. "*.*"
// (all files) and other forms name no extension and match nothing.
bool matchesFilter(const std::string& fileName, const FileFilter& filter);

}  // namespace toolkit
