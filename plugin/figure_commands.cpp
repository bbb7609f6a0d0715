// The figure work behind the host's messages: the main action of each command, posing an
// object's figure and discarding an object's figure data.
#include "model/figure_data.h"
#include "plugin/figure_plugin.h"
#include "ui/settings_sheet.h"

namespace {

// The figure attached to an object; null when the host has none for it or cannot say.
FigureData* attachedFigure(int objectHandle) {
    void* data = nullptr;
    if (piGetObjectData(objectHandle, &data) == 0)
        return nullptr;
    return static_cast<FigureData*>(data);
}

// The plug-in as the owner through which the settings sheet makes figures and shows them in new
// scene objects, for as long as the sheet is open.
class SheetFigures final : public FigureOwner {
  public:
    explicit SheetFigures(FigurePlugin& plugin) : plugin_(plugin) {}

    FigureData* newFigure() override { return FigureData::create(&plugin_); }
    const char* baseName(const char* path) override { return plugin_.baseName(path); }
    int showInNewObject(FigureData& figure, const char* name) override {
        return figure.showInNewObject(name);
    }

  private:
    FigurePlugin& plugin_;
};

}  // namespace

int FigurePlugin::showSettings() {
    SheetContext context;
    context.objectHandle = call != nullptr ? call->objectHandle : 0;
    context.limbType = limbType();
    context.posing = posing();
    SheetFigures figures(*this);
    context.owner = &figures;
    return showSettingsSheet(context);
}

int FigurePlugin::poseObject(int objectHandle, int frame) {
    if (FigureData* figure = attachedFigure(objectHandle))
        figure->pose(objectHandle, frame);
    return 1;
}

int FigurePlugin::discardObjectData(int objectHandle) {
    // The host is discarding the data itself, so the object is not detached here.
    if (FigureData* figure = attachedFigure(objectHandle)) {
        figure->destroy();
        delete figure;
    }
    return 1;
}

int FigurePlugin::mainAction() {
    switch (mode) {
        case kModeBuilder:
            return showSettings();
        case kModeFigureLoader:
        case kModeBioVisionLoader: {
            FigureData* figure = FigureData::create(this);
            if (figure == nullptr)
                return 0;
            figure->segmentStyle = limbType();
            figure->posing = posing();
            const char* path = reinterpret_cast<const char*>(call->callValue);
            if (figure->load(path, mode == kModeBioVisionLoader) == 1)
                return 1;
            figure->destroy();
            delete figure;
            return 0;
        }
        default:
            return 0;
    }
}
