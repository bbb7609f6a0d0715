// What a figure's record does with its own fields: freeing its tree and motion, and telling
// whether it holds a figure at all.
#include "model/figure_data.h"

#include <cstring>

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

bool FigureData::holdsFigure() const {
    bool limbs = root != nullptr && (root->childCount != 0 || std::strcmp(root->name, ".") != 0);
    bool channels = motion != nullptr && motion->channelCount() != 0;
    return limbs || channels;
}
