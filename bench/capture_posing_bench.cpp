// Posing and drawing a real motion capture (CMU's 01_01 walk from Debian's assimp-testmodels:
// 38 limbs, cylinders) frame after frame, in each posing: about the world's axes and as
// captured. Posing as captured composes each limb's channels and passes them down the tree; it
// should cost little more than the world-axes posing.
//
//   cmake --preset release && cmake --build build/release --target capture_posing_bench
//   build/release/bench/capture_posing_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "drawing/figure_pose.h"
#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "model/limb.h"
#include "model/limb_walk.h"
#include "model/motion_table.h"

namespace {

const char kCapture[] = "/usr/share/assimp/models/BVH/01_01.bvh";
constexpr int kLimbs = 38;

int countLimbs(const Limb* root) {
    int count = 0;
    forEachLimb(root, DeletedLimbs::kVisited, [&count](const Limb*, const Limb*, int) { ++count; });
    return count;
}

// The capture read as the loader reads it, and a scene object to draw it into.
class Capture {
  public:
    Capture() : root_(newLimb()) {
        standin::setEchoErrors(false);
        standin::resetScene();
        object_ = piCreateObject("walk", host::kFigureObjectType);
        tagStandardFile* file = StdOpenFile(kCapture, kStdOpenRead);
        if (file == nullptr)
            return;
        StdFlush(file);
        motion_ = MotionTable::create(file);
        if (motion_ != nullptr) {
            while (parseBlock(motion_, root_) != 0) {
            }
        }
        StdCloseFile(file);
    }
    ~Capture() {
        freeTree(root_);
        delete motion_;
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    bool read() const { return motion_ != nullptr && countLimbs(root_) == kLimbs; }
    int pose(int frame, int posing) {
        return poseFigure(object_, root_, motion_, frame, kSegmentCylinders, posing);
    }
    size_t triangles() const { return standin::object(object_)->count(host::kGeometryTriangle); }

  private:
    Limb* root_;
    MotionTable* motion_ = nullptr;
    int object_ = -1;
};

void poseCapture(benchmark::State& state) {
    const int posing = static_cast<int>(state.range(0));
    Capture capture;
    if (!capture.read()) {
        state.SkipWithError(
            (std::string(kCapture) + " is missing or not the 38-limb walk").c_str());
        return;
    }
    // Both posings must draw every segment, or they would not measure the same work.
    capture.pose(1, posing);
    const size_t triangles = capture.triangles();
    if (triangles == 0 || (capture.pose(1, kPosingWorldAxes), capture.triangles()) != triangles) {
        state.SkipWithError("the two posings did not draw the same segments");
        return;
    }
    int frame = 0;
    for (auto _ : state) {
        capture.pose(frame++ % kMaxFrames, posing);
        benchmark::ClobberMemory();
    }
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(posing == kPosingCaptured ? "as captured" : "world axes");
}

BENCHMARK(poseCapture)->Arg(kPosingWorldAxes)->Arg(kPosingCaptured)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
