// In-memory files behind the operating-system calls of the text-file layer, for the fuzz targets:
// they are linked in place of the platform's own file calls, so the real file layer and reader
// run over bytes that never touch a disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace memory_files {

// Makes the file name hold exactly these bytes, as if written to a disk; open handles on it see
// the new bytes.
void put(const char* name, const uint8_t* bytes, size_t size);
// The bytes the file name holds; empty when there is no such file.
const std::string& contents(const char* name);

}  // namespace memory_files
