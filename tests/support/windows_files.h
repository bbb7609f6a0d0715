// Windows' own way of making a file that cannot be opened, for the tests that use file modes or
// devices elsewhere. Kept apart from the tests because <windows.h> defines the
// file-style names as macros.
#pragma once

#ifdef _WIN32

#include <string>

namespace testing_support {

// Holds a file open with no sharing for the life of the guard, as another program would.
class ExclusiveOpen {
  public:
    explicit ExclusiveOpen(const std::string& path);
    ~ExclusiveOpen();
    ExclusiveOpen(const ExclusiveOpen&) = delete;
    ExclusiveOpen& operator=(const ExclusiveOpen&) = delete;
    bool held() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

}  // namespace testing_support

#endif
