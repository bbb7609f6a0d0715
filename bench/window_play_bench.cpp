// fighost's window playing a capture drawn as cylinders: each frame is a pose message to the
// module, the window's work left for after it and a full repaint of the scene view in a
// 1100 × 720 window. Played at the file's own
// rate, a 120 Hz capture such as CMU's 01_01 (38 limbs, from Debian's assimp-testmodels) leaves
// 8.3 ms a frame; the sample human (25 limbs, about 3,000 triangles) is a 30 Hz walk.
#include <benchmark/benchmark.h>

#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <cstdlib>
#include <string>

#include "host/app/window/main_window.h"
#include "host/app/window/scene_widget.h"
#include "model/figure_data.h"
#include "model/motion_table.h"

namespace {

void BM_PlayOneFrame(benchmark::State& state, const char* path, bool playing, bool painted) {
    standin::resetScene();
    fighost::ModuleSession session;
    std::string error;
    if (!session.open(FIGURE_LIBRARY_PATH, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    fighost::MainWindow window(&session, 1);
    window.resize(1100, 720);
    window.show();
    int handle = window.loadFile(QString::fromUtf8(path));
    const FigureData* figure = session.figure(handle);
    if (handle == host::kNoObject || figure == nullptr || figure->motion == nullptr ||
        figure->motion->frameCount < 2) {
        state.SkipWithError((std::string(path) + " did not load with its motion").c_str());
        return;
    }
    const int last = static_cast<int>(figure->motion->frameCount) - 1;
    QApplication::processEvents();
    // Playing, the view fills faces without antialiasing; paused, it draws them smooth.
    window.sceneWidget()->setPlaying(playing);
    int frame = 1;
    for (auto _ : state) {
        window.showFrame(frame);
        frame = frame % last + 1;
        // What the window does after each frame it plays besides painting (painted once below):
        // the calls the frame left for when the module has returned.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        if (!painted)
            continue;
        QPixmap picture = window.sceneWidget()->grab();
        benchmark::DoNotOptimize(picture);
    }
    state.counters["triangles"] = static_cast<double>(standin::object(handle)->count(3));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
const char kHuman[] = FIGURE_SOURCE_DIR "/examples/human.bvh";
const char kCmu0101[] = "/usr/share/assimp/models/BVH/01_01.bvh";
BENCHMARK_CAPTURE(BM_PlayOneFrame, human_playing, kHuman, true, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayOneFrame, cmu_01_01_playing, kCmu0101, true, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlayOneFrame, cmu_01_01_still, kCmu0101, false, true)
    ->Unit(benchmark::kMillisecond);
// The frame without its picture: the module's posing and what the window does around it.
BENCHMARK_CAPTURE(BM_PlayOneFrame, cmu_01_01_unpainted, kCmu0101, true, false)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
