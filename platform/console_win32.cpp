// The standard streams on Windows: the C runtime's text mode translates line ends.
#include "platform/console.h"

#include <fcntl.h>
#include <io.h>

namespace platform {

void setBinaryOutput(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}

}  // namespace platform
