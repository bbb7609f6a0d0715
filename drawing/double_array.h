// Heap arrays of doubles for the geometry's working coordinates. They come from the general heap
// and the caller frees them with std::free.
#pragma once

#include <cstddef>

// A new array of count doubles (content undefined), or null after showing "Not enough memory".
double* allocDoubles(std::size_t count);
// array resized to count doubles, keeping its leading content, or null after showing "Not enough
// memory"; on null the old array is still the caller's.
double* reallocDoubles(double* array, std::size_t count);
