// Loading the toolkit library from the folder the module's own library lies in.
#include "platform/dialog_toolkit.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace toolkit {
namespace {

// The loaded toolkit; null until a load succeeds. Set once and kept for the life of the process:
// a window library cannot be unloaded safely while its application object lives.
Toolkit* loadedToolkit = nullptr;

void say(char* reason, size_t size, const std::string& text) {
    if (reason != nullptr && size > 0)
        std::snprintf(reason, size, "%s", text.c_str());
}

// The folder of the file this code was loaded from, with a trailing separator; empty when the
// system cannot say.
std::string ownFolder() {
    std::string path;
#if defined(_WIN32)
    HMODULE self = nullptr;
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&loadToolkit), &self)) {
        char name[MAX_PATH];
        DWORD length = GetModuleFileNameA(self, name, sizeof name);
        if (length > 0 && length < sizeof name)
            path.assign(name, length);
    }
    size_t slash = path.find_last_of("\\/");
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&loadToolkit), &info) != 0 && info.dli_fname != nullptr)
        path = info.dli_fname;
    size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

Toolkit* loadToolkit(char* reason, size_t reasonSize) {
    if (loadedToolkit != nullptr)
        return loadedToolkit;
    std::string path = ownFolder() + kLibraryName;
#if defined(_WIN32)
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr) {
        say(reason, reasonSize,
            "Cannot load the dialog library " + path + ": error " +
                std::to_string(static_cast<unsigned long>(GetLastError())));
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, kEntryName)));
#else
    // Loaded for good: the library is never closed, whether or not it works here.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* loaderError = dlerror();
        std::string error = loaderError != nullptr ? loaderError : "";
        // The loader's reason usually begins with the path, which the line already names.
        if (error.rfind(path + ": ", 0) == 0)
            error.erase(0, path.size() + 2);
        say(reason, reasonSize,
            "Cannot load the dialog library " + path + ": " +
                (error.empty() ? "unknown error" : error));
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryFunction>(dlsym(library, kEntryName));
#endif
    if (entry == nullptr) {
        say(reason, reasonSize,
            "Cannot load the dialog library " + path + ": it has no " + kEntryName);
        return nullptr;
    }
    const char* why = nullptr;
    Toolkit* made = entry(kInterfaceVersion, &why);
    if (made == nullptr) {
        say(reason, reasonSize,
            "Cannot load the dialog library " + path + ": " + (why ? why : "it refused to start"));
        return nullptr;
    }
    loadedToolkit = made;
    return loadedToolkit;
}

}  // namespace toolkit
