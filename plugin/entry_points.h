// The module's exported entry points: start and stop, and the command entries the command table
// names. They stay thin and forward to the plug-in object.
#pragma once

#include <cstdint>

#include "plugin/host_library.h"

extern "C" {
// Creates the plug-in object and registers the command table; the host's answer.
int piInit(intptr_t a, intptr_t b);
// Deletes the plug-in object; always 1.
int piExit(int unused);
// The builder, figure loader and BioVision loader commands.
int Fig(int message, int argument, PluginCall* call);
int FigLoad(int message, int argument, PluginCall* call);
int BvhLoad(int message, int argument, PluginCall* call);
// Figures are saved from the settings sheet; the command itself does nothing and answers 0.
int FigSave(int message, int argument, PluginCall* call);
}

// The command table handed to the host, ended by a row of three nulls.
extern const PiCommand kCommandTable[];
