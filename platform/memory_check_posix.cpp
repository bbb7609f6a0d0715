#include "platform/memory_check.h"

namespace win {

int IsBadWritePtr(void* block, std::size_t size) {
    return block == nullptr && size != 0 ? 1 : 0;
}

}  // namespace win
