// Making figure data, and loading a file into a new scene object: the plug-in that owns the
// figure names and creates the object, and the figure is drawn into it in its rest pose.
#include <new>

#include "drawing/figure_renderer.h"
#include "model/figure_data.h"
#include "plugin/figure_plugin.h"
#include "plugin/host_library.h"

namespace {

// The label, and command, every loaded figure's scene object is bound to.
const char kBuilderLabel[] = "Figure builder";

}  // namespace

// The record is made here rather than beside its fields in model/: its table of operations, which
// the compiler emits with the destructor, names load, and load works through the plug-in.
FigureData::FigureData(FigurePlugin* plugin)
    : root(nullptr),
      outputFile(nullptr),
      segmentStyle(kSegmentLines),
      depth(0),
      motion(nullptr),
      owner(plugin),
      attachedObject(host::kNoObject) {}

FigureData::~FigureData() = default;

FigureData* FigureData::create(FigurePlugin* owner) {
    return new (std::nothrow) FigureData(owner);
}

int FigureData::load(const char* path, int isBioVision) {
    if (read(path, isBioVision) != 1 || owner == nullptr)
        return 0;
    return showInNewObject(owner->baseName(path));
}

int FigureData::showInNewObject(const char* name) {
    if (owner == nullptr)
        return 0;
    int object = owner->createObject(name, kBuilderLabel);
    if (object == host::kNoObject)
        return 0;

    // The earlier object would otherwise still hold this figure, and discarding both objects'
    // data would destroy it twice.
    if (attachedObject != host::kNoObject)
        piSetObjectData(attachedObject, nullptr);
    piSetObjectData(object, this);
    attachedObject = object;

    PiPoint position;
    ZeroPoint(&position);
    redrawFigure(object, root, &position, 0, segmentStyle);
    piFreeObject(object);
    return 1;
}
