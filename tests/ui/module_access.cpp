#include "module_access.h"

#include <gtest/gtest.h>

#include "platform/shared_library.h"

namespace ui_test {

Module loadModule(const std::string& path) {
    Module m{};
    std::string error;
    platform::LibraryHandle library = platform::loadLibrary(path, &error);
    if (library == nullptr) {
        ADD_FAILURE() << "cannot load the module " << path << ": " << error;
        return m;
    }
    using platform::findFunction;
    m.piInit = findFunction<decltype(m.piInit)>(library, "piInit");
    m.piExit = findFunction<decltype(m.piExit)>(library, "piExit");
    m.Fig = findFunction<Entry>(library, "Fig");
    m.FigLoad = findFunction<Entry>(library, "FigLoad");
    m.BvhLoad = findFunction<Entry>(library, "BvhLoad");
    m.GetFigure = findFunction<decltype(m.GetFigure)>(library, "GetFigure");
    return m;
}

std::string limbText(const Limb* limb) {
    if (limb == nullptr)
        return "";
    std::string out = std::string(limb->deleted ? "~" : "") + limb->name;
    if (limb->childCount == 0)
        return out;
    out += "[";
    for (uint32_t i = 0; i < limb->childCount; ++i)
        out += (i > 0 ? "," : "") + limbText(limb->children[i]);
    return out + "]";
}

}  // namespace ui_test
