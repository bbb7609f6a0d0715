// Converting figure files as fighost convert does: reading a file through the file layer and the
// reader, then saving it with the figure's own save. Two shapes that once made saving slow (a
// chain of 1,000 nested joints, and 3,000 limbs 30 levels deep) and a 256-frame capture, whose
// save must cost at most one operating-system write per line: the writes are counted from the
// kernel's own count of write calls for this process (/proc/self/io, syscw).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "model/figure_data.h"
#include "model/limb.h"
#include "model/motion_table.h"

namespace {

// A chain of 1,000 joints, each inside the one before, not indented: about 26 KB. Saved, it is
// indented to its depth, 2.5 MB.
std::string makeDeepChain() {
    std::string text = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\n";
    for (int j = 1; j < 1000; ++j)
        text += "JOINT J" + std::to_string(j) + "\n{\nOFFSET 0 1 0\n";
    for (int j = 999; j >= 0; --j)
        text += "}\n";
    return text;
}

// 3,000 limbs: 100 chains of 30 joints below the root, each joint with its three rotations.
std::string makeManyLimbs() {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n\tCHANNELS 6 Xposition "
        "Yposition Zposition Zrotation Xrotation Yrotation\n";
    for (int chain = 0; chain < 100; ++chain) {
        for (int j = 0; j < 30; ++j) {
            const std::string tabs(static_cast<size_t>(j + 1), '\t');
            text += tabs + "JOINT L" + std::to_string(chain) + "_" + std::to_string(j) + "\n" +
                    tabs + "{\n" + tabs + "\tOFFSET 0.5 1.25 -0.75\n" + tabs +
                    "\tCHANNELS 3 Zrotation Xrotation Yrotation\n";
        }
        for (int j = 29; j >= 0; --j)
            text += std::string(static_cast<size_t>(j + 1), '\t') + "}\n";
    }
    return text + "}\n";
}

// A capture of 31 limbs (96 channels) and 256 frames.
std::string makeCapture() {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n\tCHANNELS 6 Xposition "
        "Yposition Zposition Zrotation Xrotation Yrotation\n";
    for (int chain = 0; chain < 5; ++chain) {
        for (int j = 0; j < 6; ++j) {
            const std::string tabs(static_cast<size_t>(j + 1), '\t');
            text += tabs + "JOINT J" + std::to_string(chain * 6 + j) + "\n" + tabs + "{\n" + tabs +
                    "\tOFFSET 0 4.25 0.5\n" + tabs + "\tCHANNELS 3 Zrotation Xrotation Yrotation\n";
        }
        for (int j = 5; j >= 0; --j)
            text += std::string(static_cast<size_t>(j + 1), '\t') + "}\n";
    }
    text += "}\nMOTION\nFrames: 256\nFrame Time: 0.008333\n";
    char value[32];
    for (int f = 0; f < 256; ++f) {
        for (int c = 0; c < 96; ++c) {
            std::snprintf(value, sizeof value, "%.4f ", 40.0 * std::sin(0.01 * f + 0.37 * c));
            text += value;
        }
        text += "\n";
    }
    return text;
}

// A folder of its own under /tmp holding the input; removed with what was saved into it.
struct Workspace {
    std::string folder;
    std::string input;
    explicit Workspace(const std::string& text) {
        char pattern[] = "/tmp/figure-bench-XXXXXX";
        folder = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        input = folder + "/in.bvh";
        std::ofstream(input, std::ios::binary) << text;
    }
    ~Workspace() {
        unlink(input.c_str());
        unlink((folder + "/out.fig").c_str());
        rmdir(folder.c_str());
    }
    std::string output() const { return folder + "/out"; }
};

// The figure of a file, read as the loader reads it.
FigureData* readFigure(const std::string& path) {
    FigureData* figure = FigureData::create(nullptr);
    tagStandardFile* file = StdOpenFile(path.c_str(), kStdOpenRead);
    if (figure == nullptr || file == nullptr)
        return figure;
    StdFlush(file);
    figure->root = newLimb();
    figure->motion = MotionTable::create(file);
    while (parseBlock(figure->motion, figure->root) != 0) {
    }
    StdCloseFile(file);
    figure->motion->source = nullptr;
    return figure;
}

void freeFigure(FigureData* figure) {
    figure->destroy();
    delete figure;
}

// Reads the input and saves it, as fighost convert does, once per iteration.
void convert(benchmark::State& state, const std::string& text) {
    const Workspace work(text);
    int saved = 1;
    for (auto _ : state) {
        FigureData* figure = readFigure(work.input);
        saved &= figure->save(work.output().c_str());
        freeFigure(figure);
    }
    if (saved != 1)
        state.SkipWithError("a save failed");
    state.counters["input_bytes"] = static_cast<double>(text.size());
}

void BM_ConvertDeepChain(benchmark::State& state) {
    convert(state, makeDeepChain());
}
BENCHMARK(BM_ConvertDeepChain)->Unit(benchmark::kMillisecond);

void BM_ConvertManyLimbs(benchmark::State& state) {
    convert(state, makeManyLimbs());
}
BENCHMARK(BM_ConvertManyLimbs)->Unit(benchmark::kMillisecond);

// The write calls this process has made so far; -1 where the system does not tell.
long long writeCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "syscw:")
            return value;
    return -1;
}

// Saves a 256-frame capture; counts the write calls of each save against its lines.
void BM_SaveCapture(benchmark::State& state) {
    const Workspace work(makeCapture());
    FigureData* figure = readFigure(work.input);
    long long writes = 0;
    int saved = 1;
    for (auto _ : state) {
        const long long before = writeCalls();
        saved &= figure->save(work.output().c_str());
        writes = writeCalls() - before;
    }
    freeFigure(figure);
    std::ifstream out(work.output() + ".fig", std::ios::binary);
    std::stringstream bytes;
    bytes << out.rdbuf();
    const std::string text = bytes.str();
    long long lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    if (saved != 1)
        state.SkipWithError("a save failed");
    else if (writes > lines)
        state.SkipWithError("a save made more write calls than it wrote lines");
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["write_calls"] = static_cast<double>(writes);
    state.counters["output_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_SaveCapture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
