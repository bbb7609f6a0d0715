#include "drawing/double_array.h"

#include <cstdint>
#include <cstdlib>

#include "plugin/host_library.h"

namespace {

// Bytes for count doubles; 0 when the size does not fit. An empty array still gets one element,
// so that a null result always means the heap refused.
std::size_t bytesFor(std::size_t count) {
    if (count > SIZE_MAX / sizeof(double))
        return 0;
    return sizeof(double) * (count == 0 ? 1 : count);
}

}  // namespace

double* allocDoubles(std::size_t count) {
    const std::size_t bytes = bytesFor(count);
    double* array = bytes == 0 ? nullptr : static_cast<double*>(std::malloc(bytes));
    if (array == nullptr)
        ErrorMessage("Not enough memory");
    return array;
}

double* reallocDoubles(double* array, std::size_t count) {
    const std::size_t bytes = bytesFor(count);
    double* resized = bytes == 0 ? nullptr : static_cast<double*>(std::realloc(array, bytes));
    if (resized == nullptr)
        ErrorMessage("Not enough memory");
    return resized;
}
