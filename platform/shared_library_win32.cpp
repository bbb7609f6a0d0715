// Loading shared libraries: the Windows kernel's LoadLibraryA and GetProcAddress.
#include "platform/shared_library.h"

#include <windows.h>

namespace platform {

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr && error != nullptr)
        *error = "error " + std::to_string(static_cast<unsigned long>(GetLastError()));
    return reinterpret_cast<LibraryHandle>(library);
}

void* findSymbol(LibraryHandle library, const char* name) {
    if (library == nullptr || name == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void* findExport(LibraryHandle library, int ordinal, const char*) {
    if (library == nullptr || ordinal <= 0 || ordinal > 0xFFFF)
        return nullptr;
    return reinterpret_cast<void*>(
        GetProcAddress(reinterpret_cast<HMODULE>(library), MAKEINTRESOURCEA(ordinal)));
}

std::string libraryFileName(const char* name) {
    return std::string(name) + ".dll";
}

std::string folderOfCode(const void* address) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(address), &self))
        return std::string();
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, name, sizeof name);
    if (length == 0 || length >= sizeof name)
        return std::string();
    const std::string path(name, length);
    const std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace platform
