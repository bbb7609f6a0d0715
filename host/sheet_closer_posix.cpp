// Elsewhere than on Windows the sheet is a Qt window, which this session program does not drive.
#include "host/sheet_closer.h"

namespace session {

struct SheetCloser::State {};

SheetCloser::SheetCloser(int, int) : state_(nullptr) {}

SheetCloser::~SheetCloser() = default;

bool SheetCloser::finish(std::string* reason) {
    if (reason != nullptr)
        *reason = "the sheet is driven on Windows only";
    return false;
}

}  // namespace session
