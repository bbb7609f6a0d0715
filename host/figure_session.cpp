// One host session from start to stop, as the host runs it, printed as a short summary: load the
// module and find its entry points (on Windows by export ordinal), start it, load a BioVision file
// through the BioVision loader, pose the new object at frame 30, save its figure as .fig through
// the figure's own save, load that file through the figure loader, discard both objects' figures
// and stop the module. The same program runs on Linux and on Windows, so that the two builds'
// summaries and saved files can be compared byte for byte.
//
//   figsession MODULE FIGURE.bvh OUTPUT [--settings]     (writes OUTPUT.fig)
//
// With --settings (Windows), the session also opens the Settings sheet on the loaded figure with
// message 32, while a second thread chooses line segments on its Settings page and presses OK,
// and prints the figure's segment style before and after.
#include <cstdio>
#include <string>

#include "host/sheet_closer.h"
#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "model/limb_walk.h"
#include "platform/console.h"
#include "platform/shared_library.h"
#include "plugin/entry_points.h"
#include "plugin/figure_access.h"

namespace {

// The module's exports in ordinal order, from 1, as module/figure.def lists them.
const char* const kExports[] = {
#define FIGURE_EXPORT(name, ordinal) #name,
#include "module/figure_exports.inc"
#undef FIGURE_EXPORT
};
constexpr int kExportCount = sizeof kExports / sizeof kExports[0];

// The module's exports, found the way the platform's host finds them: by ordinal on Windows, by
// name elsewhere.
struct Module {
    void* entries[kExportCount] = {};

    bool load(const char* path, std::string* error) {
        platform::LibraryHandle module = platform::loadLibrary(path, error);
        if (module == nullptr)
            return false;
        for (int i = 0; i < kExportCount; ++i)
            entries[i] = platform::findExport(module, i + 1, kExports[i]);
        return true;
    }

    // The export with that ordinal, as a pointer to Function (the entry point's declared type).
    template <typename Function>
    Function* at(int ordinal) const {
        return reinterpret_cast<Function*>(entries[ordinal - 1]);
    }
};

// Live limbs below and including root; none when root itself is deleted.
int countLimbs(const Limb* root) {
    if (root == nullptr || root->deleted == 1)
        return 0;
    int count = 0;
    forEachLimb(root, DeletedLimbs::kSkipped, [&count](const Limb*, const Limb*, int) { ++count; });
    return count;
}

// The newest object's handle when the scene grew since before; -1 otherwise.
int newObject(size_t before) {
    const auto& objects = standin::scene().objects;
    return objects.size() > before ? objects.back().handle : -1;
}

void describe(const char* what, int handle, decltype(&GetFigure) getFigure) {
    const standin::SceneObject* object = standin::object(handle);
    FigureData* figure = getFigure(handle);
    if (object == nullptr || figure == nullptr) {
        std::printf("%s: no figure\n", what);
        return;
    }
    std::printf("%s: object %s, limbs %d, channels %d, frames %u, triangles %u\n", what,
                object->name.c_str(), countLimbs(figure->root),
                figure->motion ? figure->motion->channelCount() : 0,
                figure->motion ? figure->motion->frameCount : 0u,
                static_cast<unsigned>(object->count(host::kGeometryTriangle)));
}

}  // namespace

int main(int argc, char** argv) {
    // The summary is compared byte for byte: no line-end translation.
    platform::setBinaryOutput(stdout);
    const bool withSettings = argc == 5 && std::string(argv[4]) == "--settings";
    if (argc != 4 && !withSettings) {
        std::fprintf(stderr, "usage: figsession MODULE FIGURE.bvh OUTPUT [--settings]\n");
        return 1;
    }
    Module module;
    std::string error;
    if (!module.load(argv[1], &error)) {
        std::fprintf(stderr, "figsession: cannot load %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    int found = 0;
    for (void* entry : module.entries)
        found += entry != nullptr ? 1 : 0;
    std::printf("exports found: %d of %d\n", found, kExportCount);
    if (found != kExportCount)
        return 1;

    auto start = module.at<decltype(piInit)>(1);
    auto stop = module.at<decltype(piExit)>(2);
    auto figureLoader = module.at<decltype(FigLoad)>(4);
    auto bioVisionLoader = module.at<decltype(BvhLoad)>(6);
    auto getFigure = module.at<decltype(GetFigure)>(24);

    std::printf("piInit: %d\n", start(0, 0));
    PluginCall call{};
    call.objectHandle = -1;
    call.callValue = reinterpret_cast<uintptr_t>(argv[2]);
    size_t before = standin::scene().objects.size();
    std::printf("BvhLoad: %d\n", bioVisionLoader(1, 0, &call));
    const int loaded = newObject(before);

    call = PluginCall{};
    call.objectHandle = loaded;
    call.callValue = 30;
    std::printf("pose at 30: %d\n", bioVisionLoader(512, 0, &call));
    describe("loaded", loaded, getFigure);

    // ---- --settings: the Settings sheet on the loaded figure, closed with OK by a second thread.
    if (withSettings) {
        FigureData* shown = getFigure(loaded);
        const int before = shown != nullptr ? shown->segmentStyle : -1;
        session::SheetCloser closer(0, 60);
        call = PluginCall{};
        call.objectHandle = loaded;
        const int answered = bioVisionLoader(32, 0, &call);
        std::string reason;
        const bool pressed = closer.finish(&reason);
        std::printf("settings: %d, %s, style %d -> %d\n", answered,
                    pressed ? "closed with OK" : ("not closed: " + reason).c_str(), before,
                    shown != nullptr ? shown->segmentStyle : -1);
    }
    // ---- end of --settings

    FigureData* figure = getFigure(loaded);
    std::printf("save: %d\n", figure != nullptr ? figure->save(argv[3]) : 0);

    const std::string saved = std::string(argv[3]) + ".fig";
    call = PluginCall{};
    call.objectHandle = -1;
    call.callValue = reinterpret_cast<uintptr_t>(saved.c_str());
    before = standin::scene().objects.size();
    std::printf("FigLoad: %d\n", figureLoader(1, 0, &call));
    const int reloaded = newObject(before);
    describe("reloaded", reloaded, getFigure);

    // The host asks the module to discard each object's figure, then forgets the data itself.
    for (int handle : {loaded, reloaded}) {
        call = PluginCall{};
        call.objectHandle = handle;
        std::printf("discard %d: %d\n", handle, figureLoader(8192, 0, &call));
        piSetObjectData(handle, nullptr);
    }
    std::printf("piExit: %d\n", stop(0));
    for (const std::string& error : standin::scene().errors)
        std::printf("error: %s\n", error.c_str());
    return 0;
}
