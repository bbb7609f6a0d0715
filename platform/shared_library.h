// Loading a shared library at run time and finding what it exports: dlopen and dlsym on POSIX
// systems, LoadLibraryA and GetProcAddress on Windows. A library once loaded stays loaded for the
// life of the process: window libraries cannot be unloaded safely, and a leak report can then
// still name a library's frames.
#pragma once

#include <string>

namespace platform {

// A loaded library; null when none is loaded.
using LibraryHandle = void*;

// Loads the library at path. On failure answers null and sets *error to the system's reason,
// without the path (callers name it in their own words).
LibraryHandle loadLibrary(const std::string& path, std::string* error);

// The address of the export named name, or null when the library has none.
void* findSymbol(LibraryHandle library, const char* name);

// The export the platform's host binds to: by its ordinal on Windows, by its name elsewhere.
void* findExport(LibraryHandle library, int ordinal, const char* name);

// The address of the export name as a function of type Function (a function pointer type).
template <typename Function>
Function findFunction(LibraryHandle library, const char* name) {
    return reinterpret_cast<Function>(findSymbol(library, name));
}

// The file name this system gives the shared library called name: "libNAME.so" or "NAME.dll".
std::string libraryFileName(const char* name);

// The folder of the library or program holding the code at address, with its trailing
// separator; empty when the system cannot say.
std::string folderOfCode(const void* address);

}  // namespace platform
