// The operating system's check of whether a block of memory may be written. Without memory
// protection queries on this platform, a block counts as writable when it has an address.
#pragma once

#include <cstddef>

namespace win {

// Non-zero when the size bytes at block may not be written: here, a null block of non-zero size.
int IsBadWritePtr(void* block, std::size_t size);

}  // namespace win
