// Reading a 2 MB motion capture (96 channels: the root's 6 and 30 joints of 3, 2,700 frames) from
// a file through the file layer and the hierarchy reader, as the loader reads it. The capture is
// generated into a temporary file; FIGURE_BENCH_KEEP=path keeps a copy there, so that the same
// bytes can be timed with other tools (wc -w).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "model/limb.h"
#include "model/motion_table.h"

namespace {

constexpr int kJoints = 30;
constexpr int kFrames = 2700;

// A capture laid out as capture software writes one: tabs, CR LF, four decimals per value.
std::string makeCapture() {
    std::string text =
        "HIERARCHY\r\nROOT Hips\r\n{\r\n\tOFFSET 0.000000 0.000000 0.000000\r\n"
        "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\r\n";
    std::string closes;
    for (int j = 0; j < kJoints; ++j) {
        // Five chains of six joints below the root.
        const std::string tabs((j % 6) + 1, '\t');
        text += tabs + "JOINT Joint" + std::to_string(j) + "\r\n" + tabs + "{\r\n" + tabs +
                "\tOFFSET 0.000000 4.250000 0.500000\r\n" + tabs +
                "\tCHANNELS 3 Zrotation Xrotation Yrotation\r\n";
        if (j % 6 == 5) {
            for (int k = 5; k >= 0; --k) {
                text += std::string(k + 1, '\t') + "}\r\n";
            }
        }
    }
    text += "}\r\nMOTION\r\nFrames: " + std::to_string(kFrames) + "\r\nFrame Time: 0.008333\r\n";
    char value[32];
    for (int f = 0; f < kFrames; ++f) {
        for (int c = 0; c < 6 + 3 * kJoints; ++c) {
            std::snprintf(value, sizeof value, "%.4f ", 40.0 * std::sin(0.01 * f + 0.37 * c));
            text += value;
        }
        text += "\r\n";
    }
    return text;
}

struct CaptureFile {
    std::string path;
    size_t size = 0;
    CaptureFile() {
        char pattern[] = "/tmp/figure-bench-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd >= 0) {
            close(fd);
        }
        path = pattern;
        const std::string text = makeCapture();
        size = text.size();
        std::ofstream(path, std::ios::binary) << text;
        if (const char* keep = getenv("FIGURE_BENCH_KEEP")) {
            std::ofstream(keep, std::ios::binary) << text;
        }
    }
    ~CaptureFile() { unlink(path.c_str()); }
};

void BM_ReadCapture(benchmark::State& state) {
    static const CaptureFile capture;
    int frames = 0;
    for (auto _ : state) {
        Limb* root = newLimb();
        tagStandardFile* file = StdOpenFile(capture.path.c_str(), kStdOpenRead);
        StdFlush(file);
        MotionTable* motion = MotionTable::create(file);
        while (parseBlock(motion, root) != 0) {
        }
        StdCloseFile(file);
        frames = static_cast<int>(motion->frameCount);
        benchmark::DoNotOptimize(motion->channels[95].values[255]);
        freeTree(root);
        delete motion;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(capture.size));
    state.counters["bytes"] = static_cast<double>(capture.size);
    state.counters["frames_kept"] = frames;
}
BENCHMARK(BM_ReadCapture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
