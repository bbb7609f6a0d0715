// The kernel's own check of whether a block of memory may be written.
#include "platform/memory_check.h"

#include <windows.h>

namespace win {

int IsBadWritePtr(void* block, std::size_t size) {
    return ::IsBadWritePtr(block, size) ? 1 : 0;
}

}  // namespace win
