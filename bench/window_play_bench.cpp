// fighost's window playing the sample human drawn as cylinders (about 3,000 triangles): each
// frame is a pose message to the module and a full repaint of the scene view at 900 × 600. The
// window plays at 30 frames a second, so one frame must take well under 33 ms to stay smooth.
#include <benchmark/benchmark.h>

#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <cstdlib>
#include <string>

#include "host/app/main_window.h"
#include "host/app/scene_widget.h"

namespace {

void BM_PlayOneFrame(benchmark::State& state) {
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
    int handle = window.loadFile(QStringLiteral(FIGURE_SOURCE_DIR "/examples/human.bvh"));
    if (handle == host::kNoObject) {
        state.SkipWithError("the sample human did not load");
        return;
    }
    QApplication::processEvents();
    int frame = 1;
    for (auto _ : state) {
        window.showFrame(frame);
        frame = frame % 149 + 1;
        QPixmap picture = window.sceneWidget()->grab();
        benchmark::DoNotOptimize(picture);
    }
    state.counters["triangles"] = static_cast<double>(standin::object(handle)->count(3));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayOneFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
