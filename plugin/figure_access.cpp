#include "plugin/figure_access.h"

namespace {

// The root, as findLimb with channel index 0 yields it; null without a figure or a root.
Limb* rootOf(FigureData* figure) {
    return figure != nullptr ? findLimb(figure->root, nullptr, 0) : nullptr;
}

}  // namespace

extern "C" {

int CreateFigure() {
    return 0;
}

int DeleteFigure(int objectHandle, FigureData* figure) {
    if (figure == nullptr)
        return 0;
    figure->destroy();
    delete figure;
    piSetObjectData(objectHandle, nullptr);
    return 1;
}

FigureData* GetFigure(int objectHandle) {
    if (objectHandle == host::kNoObject)
        return nullptr;
    void* data = nullptr;
    if (piGetObjectData(objectHandle, &data) == 0)
        return nullptr;
    return static_cast<FigureData*>(data);
}

int GetFigureLimbInfo(FigureData* figure, int selector, int frame, PiPoint* offset,
                      PiPoint* values) {
    if (selector == 0)
        return 0;
    Limb* limb = rootOf(figure);
    if (limb == nullptr)
        return 0;
    if (offset != nullptr)
        CopyPoint(&limb->offset, offset);
    if (values != nullptr && figure->motion != nullptr) {
        // The channels run Z, Y, X: the first channel is the Z value.
        int c = static_cast<int>(limb->firstChannel);
        values->z = static_cast<float>(figure->motion->value(c, frame));
        values->y = static_cast<float>(figure->motion->value(c + 1, frame));
        values->x = static_cast<float>(figure->motion->value(c + 2, frame));
    }
    return 0;
}

int SetFigureLimbInfo(FigureData* figure, int selector, int frame, const PiPoint* offset,
                      const PiPoint* values) {
    if (selector == 0)
        return 0;
    Limb* limb = rootOf(figure);
    if (limb == nullptr)
        return 0;
    if (offset != nullptr)
        CopyPoint(offset, &limb->offset);
    if (values != nullptr && figure->motion != nullptr) {
        int c = static_cast<int>(limb->firstChannel);
        figure->motion->setValue(c, frame, values->z);
        figure->motion->setValue(c + 1, frame, values->y);
        figure->motion->setValue(c + 2, frame, values->x);
    }
    return 1;
}

}  // extern "C"
