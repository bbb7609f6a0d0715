// A temporary folder for tests that need real files.
#include "support/temp_dir.h"

#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testing_support {

namespace {
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif
}  // namespace

#ifdef _WIN32
// Windows: a fresh folder in the system's folder for temporary files, named with backslashes so
// that the tests go through the paths users there have.
TempDir::TempDir() {
    static unsigned serial = 0;
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 1000 && !error; ++attempt) {
        const std::filesystem::path candidate =
            temp / ("figure-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++serial));
        if (std::filesystem::create_directory(candidate, error)) {
            root_ = std::filesystem::path(candidate).make_preferred().string();
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}
#else
TempDir::TempDir() {
    char pattern[] = "/tmp/figure-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    root_ = pattern;
}
#endif

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempDir::path(const std::string& name) const {
    return root_ + kSeparator + name;
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::string full = path(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full);
    }
    return full;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::string();
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
