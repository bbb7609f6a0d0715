// Hands arbitrary bytes to the hierarchy reader through the real file layer, exactly as the
// loader reads a figure file, and frees everything it built.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "model/limb.h"
#include "model/motion_table.h"

namespace {

// The one input file of this process, rewritten for every input.
const std::string& inputPath() {
    static const std::string path = [] {
        char pattern[] = "/tmp/figure-fuzz-XXXXXX";
        int fd = mkstemp(pattern);
        if (fd < 0) {
            abort();
        }
        close(fd);
        return std::string(pattern);
    }();
    return path;
}

bool writeInput(const uint8_t* data, size_t size) {
    FILE* out = fopen(inputPath().c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    bool written = size == 0 || fwrite(data, 1, size, out) == size;
    return fclose(out) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeInput(data, size)) {
        abort();
    }
    Limb* root = newLimb();
    tagStandardFile* file = StdOpenFile(inputPath().c_str(), kStdOpenRead);
    if (root == nullptr || file == nullptr) {
        abort();
    }
    StdFlush(file);
    MotionTable* motion = MotionTable::create(file);
    if (motion == nullptr) {
        abort();
    }
    // Every input ends its read: the file is finite and the reader only moves forward.
    while (parseBlock(motion, root) != 0) {
    }
    StdCloseFile(file);
    // What was read stays within the table and the tree's limits.
    if (motion->channelCount() > kMaxChannels || motion->frameCount > kMaxFrames ||
        root->childCount > static_cast<uint32_t>(kMaxChildren)) {
        abort();
    }
    freeTree(root);
    delete motion;
    return 0;
}
