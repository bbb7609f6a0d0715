// Creating, destroying and loading the figure attached to a scene object.
#include "model/figure_data.h"

#include <cstring>
#include <new>
#include <string>

#include "drawing/figure_pose.h"
#include "drawing/figure_renderer.h"
#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/std_file.h"
#include "plugin/figure_plugin.h"
#include "plugin/host_library.h"

namespace {

// The label, and command, every loaded figure's scene object is bound to.
const char kBuilderLabel[] = "Figure builder";

}  // namespace

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

void FigureData::destroy() {
    if (root != nullptr)
        freeTree(root);
    root = nullptr;
    delete motion;
    motion = nullptr;
}

Limb* FigureData::rootLimb() {
    return root;
}

int FigureData::read(const char* path, int isBioVision, std::string* opened) {
    if (root != nullptr) {
        freeTree(root);
        root = nullptr;
    }
    root = newLimb();
    if (root == nullptr)
        return 0;

    // AddExt answers in a buffer of the host's that its next call reuses.
    const std::string fileName = AddExt(path, isBioVision ? ".bvh" : ".fig");
    if (opened != nullptr)
        *opened = fileName;
    tagStandardFile* file = StdOpenFile(fileName.c_str(), kStdOpenRead);
    if (file == nullptr) {
        ErrorMessage(isBioVision ? "Unable to open BioVision data file"
                                 : "Unable to open Figure data file");
        return 0;
    }
    StdFlush(file);

    delete motion;
    motion = MotionTable::create(file);
    if (motion == nullptr) {
        StdCloseFile(file);
        return 0;
    }
    while (parseBlock(motion, root) != 0) {
    }
    StdCloseFile(file);
    motion->source = nullptr;  // the record is freed; nothing may read through it again

    // The frames that came whole are kept; the user learns that the rest never came, with the
    // file named as it was opened.
    if (motion->endedEarly())
        ErrorMessage("%s: the file ends after %d of %d frames", fileName.c_str(),
                     motion->completeFrames(), motion->declaredFrames());
    if (motion->mapCount != 0)
        segmentStyle = kSegmentLines;
    return 1;
}

bool FigureData::holdsFigure() const {
    bool limbs = root != nullptr && (root->childCount != 0 || std::strcmp(root->name, ".") != 0);
    bool channels = motion != nullptr && motion->channelCount() != 0;
    return limbs || channels;
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

int FigureData::pose(int objectHandle, int frame) {
    return poseFigure(objectHandle, root, motion, frame, segmentStyle, posing);
}
