// A temporary folder for tests that need real files, removed with its contents on destruction.
#pragma once

#include <string>

namespace testing_support {

// Owns a fresh folder under /tmp (on Windows, the system's folder for temporary files, with
// backslashes in its paths) for the life of the guard.
class TempDir {
  public:
    // Makes the folder; throws std::runtime_error if the system refuses.
    TempDir();
    // Removes the folder and everything in it.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Returns the folder's own path.
    const std::string& root() const { return root_; }
    // Returns the full path of `name` inside the folder (the file need not exist).
    std::string path(const std::string& name) const;
    // Writes `bytes` exactly to `name` inside the folder and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    std::string root_;
};

// Returns the whole content of the file at `path`, or an empty string if it cannot be read.
std::string readFile(const std::string& path);

}  // namespace testing_support
