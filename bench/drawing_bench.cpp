// Posing and redrawing a human figure into the stand-in host, one frame per iteration, in each
// segment style. The figure is built in code the way a motion capture lays it out: a root with
// three position and three rotation channels and 30 joints of three rotation channels each
// (96 channels, 30 drawn segments).
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DFIGURE_BENCHMARKS=ON
//   cmake --build build/bench --target drawing_bench && build/bench/bench/drawing_bench
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "drawing/figure_pose.h"
#include "drawing/segment_geometry.h"
#include "host/stand_in_host.h"
#include "model/limb.h"
#include "model/motion_table.h"

namespace {

constexpr int kFrames = 256;
constexpr int kSegments = 30;
// Triangles of one cylinder or balloon segment: 8 bands of 8 ring points, two per point.
constexpr int kTrianglesPerTube = 128;

struct JointSpec {
    const char* name;
    int parent;  // index into the table; -1 for the root
    float x, y, z;
};

// Hips, a spine of eight, two arms of six and two legs of five: 31 joints.
const JointSpec kHuman[] = {
    {"Hips", -1, 0, 0, 0},          {"Spine", 0, 0, 4, 0},         {"Spine1", 1, 0, 4, 0},
    {"Spine2", 2, 0, 4, 0},         {"Chest", 3, 0, 4, 0},         {"Neck", 4, 0, 5, 0},
    {"Neck1", 5, 0, 2, 0},          {"Head", 6, 0, 2, 0},          {"HeadTop", 7, 0, 7, 0},
    {"LeftCollar", 4, 3, 3, 0},     {"LeftUpArm", 9, 5, 0, 0},     {"LeftLowArm", 10, 11, 0, 0},
    {"LeftHand", 11, 10, 0, 0},     {"LeftFinger", 12, 3, 0, 0},   {"LeftFingerTip", 13, 2, 0, 0},
    {"RightCollar", 4, -3, 3, 0},   {"RightUpArm", 15, -5, 0, 0},  {"RightLowArm", 16, -11, 0, 0},
    {"RightHand", 17, -10, 0, 0},   {"RightFinger", 18, -3, 0, 0}, {"RightFingerTip", 19, -2, 0, 0},
    {"LeftUpLeg", 0, 4, -2, 0},     {"LeftLowLeg", 21, 0, -18, 0}, {"LeftFoot", 22, 0, -17, 0},
    {"LeftToe", 23, 0, -3, 5},      {"LeftToeEnd", 24, 0, 0, 2},   {"RightUpLeg", 0, -4, -2, 0},
    {"RightLowLeg", 26, 0, -18, 0}, {"RightFoot", 27, 0, -17, 0},  {"RightToe", 28, 0, -3, 5},
    {"RightToeEnd", 29, 0, 0, 2},
};
constexpr int kJoints = sizeof kHuman / sizeof kHuman[0];
static_assert(kJoints == 31, "the benchmark figure has 31 joints");

// The figure, its motion and a scene object to draw into.
class HumanFigure {
  public:
    HumanFigure() : motion_(MotionTable::create(nullptr)) {
        standin::setEchoErrors(false);
        standin::resetScene();
        object_ = piCreateObject("human", host::kFigureObjectType);
        Limb* limbs[kJoints] = {};
        for (int j = 0; j < kJoints; ++j) {
            const JointSpec& spec = kHuman[j];
            limbs[j] = spec.parent < 0 ? newLimb() : addChild(limbs[spec.parent]);
            setName(limbs[j], spec.name);
            limbs[j]->offset = PiPoint{spec.x, spec.y, spec.z};
            limbs[j]->firstChannel = static_cast<uint32_t>(motion_->channelCount());
            if (spec.parent < 0) {
                declare(limbs[j], {"Xposition", "Yposition", "Zposition"});
            }
            declare(limbs[j], {"Zrotation", "Xrotation", "Yrotation"});
        }
        root_ = limbs[0];
        // A smooth swing of every angle, each channel at its own pace.
        for (int c = 0; c < motion_->channelCount(); ++c)
            for (int f = 0; f < kFrames; ++f)
                motion_->setValue(c, f, 30.0 * std::sin(0.05 * f * (1 + c % 7) + c));
        if (motion_->channelCount() != 96) {
            std::fprintf(stderr, "the figure has %d channels, not 96\n", motion_->channelCount());
            std::abort();
        }
    }
    ~HumanFigure() { freeTree(root_); }

    int pose(int frame, int style) {
        return poseFigure(object_, root_, motion_.get(), frame % kFrames, style);
    }
    size_t triangles() const { return standin::object(object_)->count(host::kGeometryTriangle); }
    size_t lines() const { return standin::object(object_)->count(host::kGeometryLine); }

  private:
    void declare(Limb* limb, std::initializer_list<const char*> names) {
        for (const char* name : names)
            motion_->declareChannel(name);
        limb->declaredChannels += static_cast<uint32_t>(names.size());
    }

    std::unique_ptr<MotionTable> motion_;
    Limb* root_ = nullptr;
    int object_ = -1;
};

void poseAndRedraw(benchmark::State& state) {
    const int style = static_cast<int>(state.range(0));
    HumanFigure figure;
    figure.pose(0, style);
    // Every segment must be drawn, or the figures below measure less work than they claim.
    const size_t expected = style == kSegmentLines ? 0 : kSegments * kTrianglesPerTube;
    if (figure.triangles() != expected ||
        figure.lines() != (style == kSegmentLines ? kSegments : 0u)) {
        state.SkipWithError("the figure did not draw all of its segments");
        return;
    }
    int frame = 1;
    for (auto _ : state) {
        figure.pose(frame++, style);
        benchmark::ClobberMemory();
    }
    state.counters["triangles"] =
        benchmark::Counter(static_cast<double>(expected) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["segments"] =
        benchmark::Counter(static_cast<double>(kSegments) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.SetLabel(style == kSegmentLines       ? "lines"
                   : style == kSegmentCylinders ? "cylinders"
                                                : "balloons");
}

BENCHMARK(poseAndRedraw)
    ->Arg(kSegmentLines)
    ->Arg(kSegmentCylinders)
    ->Arg(kSegmentBalloons)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
