// A small host session: loads the module the way the host does, starts it, asks it for what a
// host asks every plug-in for, and prints what the stand-in host received.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "host/stand_in_host.h"
#include "model/figure_data.h"

namespace {

using Start = int (*)(intptr_t, intptr_t);
using Stop = int (*)(int);
using Entry = int (*)(int, int, PluginCall*);

template <typename T>
T symbol(void* module, const char* name) {
    return reinterpret_cast<T>(dlsym(module, name));
}

void printText(const char* what, const PluginCall& call) {
    std::printf("%-28s \"%s\" (kind %d, size %d)\n", what,
                reinterpret_cast<const char*>(call.callValue), call.resultKind, call.resultSize);
}

// Counts the live limbs below and including limb.
int countLimbs(const Limb* limb, int level) {
    if (limb == nullptr || limb->deleted == 1 || level > kMaxLimbDepth) return 0;
    int count = 1;
    for (uint32_t i = 0; i < limb->childCount; ++i) count += countLimbs(limb->children[i], level + 1);
    return count;
}

// Loads a BioVision file through the loader command, poses the new object at frame 30 through
// the pose message, and prints what the scene holds.
void loadAndPose(void* module, Entry bioVisionLoader, const char* path) {
    auto getFigure = symbol<FigureData* (*)(int)>(module, "GetFigure");
    size_t before = standin::scene().objects.size();
    PluginCall call{};
    call.objectHandle = -1;
    call.callValue = reinterpret_cast<uintptr_t>(path);
    int loaded = bioVisionLoader(1, 0, &call);
    std::printf("BvhLoad of %s answered %d\n", path, loaded);
    if (loaded != 1 || standin::scene().objects.size() <= before || getFigure == nullptr) return;
    int handle = standin::scene().objects.back().handle;

    call = PluginCall{};
    call.objectHandle = handle;
    call.callValue = 30;
    std::printf("Pose at frame 30 answered %d\n", bioVisionLoader(512, 0, &call));

    const standin::SceneObject* object = standin::object(handle);
    FigureData* figure = getFigure(handle);
    if (object == nullptr || figure == nullptr) return;
    std::printf("  %-12s %s\n", "object", object->name.c_str());
    std::printf("  %-12s %d\n", "limbs", countLimbs(figure->root, 0));
    std::printf("  %-12s %d\n", "channels", figure->motion ? figure->motion->channelCount() : 0);
    std::printf("  %-12s %u\n", "frames", figure->motion ? figure->motion->frameCount : 0u);
    std::printf("  %-12s %zu\n", "triangles", object->count(host::kGeometryTriangle));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s MODULE.so [FIGURE.bvh]\n", argv[0]);
        return 1;
    }
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "figdemo: cannot load the module: %s\n", dlerror());
        return 1;
    }
    auto start = symbol<Start>(module, "piInit");
    auto stop = symbol<Stop>(module, "piExit");
    auto builder = symbol<Entry>(module, "Fig");
    auto figureLoader = symbol<Entry>(module, "FigLoad");
    auto bioVisionLoader = symbol<Entry>(module, "BvhLoad");
    if (!start || !stop || !builder || !figureLoader || !bioVisionLoader) {
        std::fprintf(stderr, "figdemo: the module lacks an entry point\n");
        return 1;
    }

    std::printf("piInit answered %d\n", start(0, 0));
    std::printf("Command table:\n");
    for (const standin::Command& row : standin::scene().commands)
        std::printf("  %-6s %-8s %s\n", row.category.c_str(), row.entry.c_str(), row.label.c_str());

    PluginCall call{};
    call.objectHandle = -1;
    call.callValue = 1;  // the host's property target
    builder(128, 0, &call);
    std::printf("Property block:\n");
    for (const char* name : {"Version", "LimbType", "SubSegments", "Divisions"}) {
        int value = 0;
        if (standin::propertyInt(name, &value)) std::printf("  %-12s %d\n", name, value);
    }

    call = PluginCall{};
    call.objectHandle = -1;
    builder(16, 0, &call);
    printText("About text:", call);
    figureLoader(8, 0, &call);
    printText("Figure loader file filter:", call);
    bioVisionLoader(8, 0, &call);
    printText("BioVision loader file filter:", call);
    builder(1024, 0, &call);
    std::printf("%-28s %d (kind %d, size %d)\n", "Icon id:", static_cast<int>(call.callValue),
                call.resultKind, call.resultSize);

    if (argc == 3) loadAndPose(module, bioVisionLoader, argv[2]);

    std::printf("piExit answered %d\n", stop(0));
    dlclose(module);
    return 0;
}
