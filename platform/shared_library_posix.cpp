// Loading shared libraries: the POSIX dynamic loader.
#include "platform/shared_library.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr && error != nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "unknown error";
        // The loader's reason usually begins with the path, which the caller names already.
        if (error->rfind(path + ": ", 0) == 0)
            error->erase(0, path.size() + 2);
    }
    return library;
}

void* findSymbol(LibraryHandle library, const char* name) {
    if (library == nullptr || name == nullptr)
        return nullptr;
    return dlsym(library, name);
}

void* findExport(LibraryHandle library, int, const char* name) {
    return findSymbol(library, name);
}

std::string libraryFileName(const char* name) {
    return std::string("lib") + name + ".so";
}

std::string folderOfCode(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return std::string();
    const std::string path = info.dli_fname;
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace platform
