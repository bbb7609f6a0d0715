#include "plugin/entry_points.h"

#include <new>

#include "plugin/figure_plugin.h"

namespace {

// The module's one plug-in object, from piInit to piExit; every command entry forwards to it.
FigurePlugin* plugin = nullptr;

int runCommand(int message, int argument, PluginCall* call, PluginMode mode) {
    if (plugin == nullptr)
        return 0;
    return plugin->run(message, argument, call, mode);
}

}  // namespace

const PiCommand kCommandTable[] = {
    {"BUILD", "Fig", "Figure builder"},      {"UTIL", "Fig", "Figure builder"},
    {"LOAD", "BvhLoad", "BioVision loader"}, {"LOAD", "FigLoad", "Figure loader"},
    {"SAVE", "FigSave", "Figure saver"},     {nullptr, nullptr, nullptr},
};

FigurePlugin* modulePlugin() {
    return plugin;
}

extern "C" {

int piInit(intptr_t a, intptr_t b) {
    // A second start without a stop replaces the object instead of leaking it.
    delete plugin;
    // Without an object the command table is still registered; the entries then answer 0.
    plugin = new (std::nothrow) FigurePlugin();
    return piLibInit(a, b, kCommandTable, 4);
}

int piExit(int) {
    delete plugin;
    plugin = nullptr;
    return 1;
}

int Fig(int message, int argument, PluginCall* call) {
    return runCommand(message, argument, call, kModeBuilder);
}

int FigLoad(int message, int argument, PluginCall* call) {
    return runCommand(message, argument, call, kModeFigureLoader);
}

int BvhLoad(int message, int argument, PluginCall* call) {
    return runCommand(message, argument, call, kModeBioVisionLoader);
}

int FigSave(int, int, PluginCall*) {
    return 0;
}

}  // extern "C"
