// The module as the window tests reach it, whatever toolkit shows its windows: the built library
// loaded the way the host loads it, its entry points, and its limb trees as text.
#pragma once

#include <string>

#include "model/figure_data.h"
#include "plugin/entry_points.h"
#include "plugin/figure_access.h"
#include "plugin/host_library.h"

namespace ui_test {

// The module's entry points, with the types they are declared with.
using Entry = decltype(&Fig);

struct Module {
    decltype(&::piInit) piInit;
    decltype(&::piExit) piExit;
    Entry Fig;
    Entry FigLoad;
    Entry BvhLoad;
    decltype(&::GetFigure) GetFigure;
};

// Loads the module library at path and finds its entry points; a test failure, and null entry
// points, when it cannot.
Module loadModule(const std::string& path);

// The module's limb tree as text: names, children in brackets, deleted limbs marked "~".
std::string limbText(const Limb* limb);

}  // namespace ui_test
