// Loading the toolkit library from the folder the module's own library lies in.
#include "toolkit/dialog_toolkit.h"

#include <cstdio>
#include <string>

#include "platform/shared_library.h"

namespace toolkit {
namespace {

// The loaded toolkit; null until a load succeeds. Set once and kept for the life of the process:
// a window library cannot be unloaded safely while its application object lives.
Toolkit* loadedToolkit = nullptr;

void say(char* reason, size_t size, const std::string& text) {
    if (reason != nullptr && size > 0)
        std::snprintf(reason, size, "%s", text.c_str());
}

}  // namespace

Toolkit* loadToolkit(char* reason, size_t reasonSize) {
    if (loadedToolkit != nullptr)
        return loadedToolkit;
    const std::string path = platform::folderOfCode(reinterpret_cast<const void*>(&loadToolkit)) +
                             platform::libraryFileName(kLibraryName);
    const std::string failed = "Cannot load the dialog library " + path + ": ";
    std::string error;
    platform::LibraryHandle library = platform::loadLibrary(path, &error);
    if (library == nullptr) {
        say(reason, reasonSize, failed + error);
        return nullptr;
    }
    auto entry = platform::findFunction<EntryFunction>(library, kEntryName);
    if (entry == nullptr) {
        say(reason, reasonSize, failed + "it has no " + kEntryName);
        return nullptr;
    }
    const char* why = nullptr;
    Toolkit* made = entry(kInterfaceVersion, &why);
    if (made == nullptr) {
        say(reason, reasonSize, failed + (why ? why : "it refused to start"));
        return nullptr;
    }
    loadedToolkit = made;
    return loadedToolkit;
}

}  // namespace toolkit
