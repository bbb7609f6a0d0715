#include "fuzz/figure_read.h"

#include <cstdlib>

#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "host/stand_in_host.h"

namespace fuzz_support {

FigureRead::FigureRead(const char* name, MotionTable* table) : motion(table) {
    // LOAD statements add objects to the stand-in scene; each input starts from an empty one.
    standin::resetScene();
    root = newLimb();
    tagStandardFile* file = StdOpenFile(name, kStdOpenRead);
    if (root == nullptr || file == nullptr)
        abort();
    StdFlush(file);
    motion->clear(file);
    // Every input ends its read: the file is finite and the reader only moves forward.
    while (parseBlock(motion, root) != 0) {
    }
    StdCloseFile(file);
    motion->source = nullptr;
}

FigureRead::~FigureRead() {
    freeTree(root);
}

MotionTable* keptTable() {
    MotionTable* table = MotionTable::create(nullptr);
    if (table == nullptr)
        abort();
    return table;
}

}  // namespace fuzz_support

// The sanitizer keeps freed memory from reuse to catch late uses; a read frees at most a few
// thousand limbs at its end, so a small quarantine still catches any late use within one input
// while sparing every input fresh pages.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}
