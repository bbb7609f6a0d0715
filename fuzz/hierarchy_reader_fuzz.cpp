// Hands arbitrary bytes to the hierarchy reader through the real file layer, exactly as the
// loader reads a figure file, and frees everything it built. The bytes reach the file layer
// through in-memory files linked in place of the platform's file calls, so no input touches a
// disk.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/figure_read.h"
#include "fuzz/memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory_files::put("input.bvh", data, size);
    static MotionTable* const table = fuzz_support::keptTable();
    fuzz_support::FigureRead read("input.bvh", table);
    // What was read stays within the table and the tree's limits.
    if (read.motion->channelCount() > kMaxChannels || read.motion->frameCount > kMaxFrames ||
        read.root->childCount > static_cast<uint32_t>(kMaxChildren)) {
        abort();
    }
    // The rows kept are the rows that came whole, and a frame time is a finite duration.
    const MotionTable& motion = *read.motion;
    if (motion.completeFrames() < static_cast<int>(motion.frameCount) ||
        !std::isfinite(motion.frameTime) || motion.frameTime < 0.0) {
        abort();
    }
    return 0;
}
