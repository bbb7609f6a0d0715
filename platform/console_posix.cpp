// The standard streams on POSIX systems, which make no difference between text and binary.
#include "platform/console.h"

namespace platform {

void setBinaryOutput(std::FILE*) {}

}  // namespace platform
