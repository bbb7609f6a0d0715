// Reading the module's "description|pattern||" file filters.
#include "toolkit/file_filter.h"

#include <cctype>

namespace toolkit {
namespace {

std::string trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

// The patterns of a filter, split at ';'.
std::vector<std::string> patternsOf(const std::string& pattern) {
    std::vector<std::string> patterns;
    size_t start = 0;
    for (size_t semicolon; (semicolon = pattern.find(';', start)) != std::string::npos;
         start = semicolon + 1)
        patterns.push_back(trimmed(pattern.substr(start, semicolon - start)));
    patterns.push_back(trimmed(pattern.substr(start)));
    return patterns;
}

}  // namespace

std::vector<FileFilter> parseFileFilters(const char* text) {
    std::vector<FileFilter> filters;
    if (text == nullptr)
        return filters;
    const std::string all = text;
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = all.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(all.substr(start, bar - start));
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter filter{trimmed(parts[i]), parts[i + 1]};
        if (filter.description.empty())
            break;
        if (!filter.pattern.empty())
            filters.push_back(filter);
    }
    return filters;
}

std::string nameFilter(const FileFilter& filter) {
    const std::string& description = filter.description;
    if (!description.empty() && description.back() == ')' &&
        description.find('(') != std::string::npos)
        return description;
    std::string patterns;
    for (const std::string& pattern : patternsOf(filter.pattern))
        patterns += (patterns.empty() ? "" : " ") + pattern;
    return description + " (" + patterns + ")";
}

bool matchesFilter(const std::string& fileName, const FileFilter& filter) {
    for (const std::string& pattern : patternsOf(filter.pattern)) {
        if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 || pattern == "*.*")
            continue;
        const std::string tail = pattern.substr(1);
        if (fileName.size() >= tail.size() &&
            fileName.compare(fileName.size() - tail.size(), tail.size(), tail) == 0)
            return true;
    }
    return false;
}

}  // namespace toolkit
