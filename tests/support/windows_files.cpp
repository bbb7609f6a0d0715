#include "support/windows_files.h"

#ifdef _WIN32

#include <windows.h>

namespace testing_support {

ExclusiveOpen::ExclusiveOpen(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

ExclusiveOpen::~ExclusiveOpen() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

}  // namespace testing_support

#endif
