// Finding the folder of the libraries fighost loads at run time.
#include "host/app/core/library_folder.h"

#include <unistd.h>

#include <climits>

namespace fighost {

std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    const std::string program(path, static_cast<size_t>(length));
    const std::string::size_type slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

std::string libraryPath(const char* fileName, const char* builtPath) {
    const std::string folder = programFolder();
    if (!folder.empty()) {
        const std::string installed = folder + FIGHOST_LIBRARIES_FROM_PROGRAM "/" + fileName;
        if (access(installed.c_str(), F_OK) == 0)
            return installed;
    }
    return builtPath;
}

}  // namespace fighost
