// A small host session: loads the module the way the host does, starts it, asks it for what a
// host asks every plug-in for, and prints what the stand-in host received.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "host/stand_in_host.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MODULE.so\n", argv[0]);
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

    std::printf("piExit answered %d\n", stop(0));
    dlclose(module);
    return 0;
}
