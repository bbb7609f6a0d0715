// The limb tree: making, naming, finding and freeing limbs.
#include "model/limb.h"

#include <cstdlib>

#include "model/limb_walk.h"
#include "model/name_compare.h"

namespace {

// Name and radius of a limb that has just been made.
constexpr char kNewLimbName[] = ".";
constexpr double kNewLimbRadius = 0.4;

}  // namespace

const LimbDefault kLimbDefaults[] = {
    {"Hips", 2.0},        {"Chest", 2.0},      {"Neck", 0.4},        {"Head", 2.0},
    {"LeftCollar", 0.8},  {"LeftUpArm", 0.4},  {"LeftLowArm", 0.4},  {"LeftHand", 0.4},
    {"RightCollar", 0.8}, {"RightUpArm", 0.4}, {"RightLowArm", 0.4}, {"RightHand", 0.4},
    {"LeftUpLeg", 0.4},   {"LeftLowLeg", 0.4}, {"LeftFoot", 0.4},    {"RightUpLeg", 0.4},
    {"RightLowLeg", 0.4}, {"RightFoot", 0.4},  {nullptr, 0.0},
};

Limb* newLimb() {
    Limb* limb = static_cast<Limb*>(std::calloc(1, sizeof(Limb)));
    if (limb == nullptr) {
        ErrorMessage("Error Allocating Stik Element\n");
        return nullptr;
    }
    names::copyCut(limb->name, kLimbNameSize, kNewLimbName);
    limb->radius = kNewLimbRadius;
    limb->firstChannel = 0;
    limb->associatedObject = host::kNoObject;
    return limb;
}

Limb* addChild(Limb* parent) {
    // The slot is checked before the limb is made, so a refused child costs no allocation.
    if (parent == nullptr || parent->childCount >= static_cast<uint32_t>(kMaxChildren)) {
        return nullptr;
    }
    Limb* child = newLimb();
    if (child == nullptr) {
        return nullptr;
    }
    parent->children[parent->childCount] = child;
    parent->childCount += 1;
    return child;
}

int setName(Limb* limb, const char* name) {
    if (limb == nullptr || name == nullptr) {
        return 1;
    }
    names::copyCut(limb->name, kLimbNameSize, name);
    for (const LimbDefault* row = kLimbDefaults; row->name != nullptr; ++row) {
        if (names::sameNameQuick(row->name, name)) {
            limb->radius = row->radius;
        }
    }
    return 1;
}

void setMapName(Limb* limb, const char* mapName) {
    if (limb == nullptr) {
        return;
    }
    names::copyCut(limb->mapName, kMapNameSize, mapName);
}

Limb* findLimb(Limb* start, const char* name, uint32_t channelIndex) {
    return findFirstLimb(start, DeletedLimbs::kVisited, [&](const Limb* limb) {
        return name != nullptr ? names::sameIgnoringCase(limb->name, name)
                               : limb->firstChannel >= channelIndex;
    });
}

int freeTree(Limb* limb) {
    // A post-order walk that needs no stack: on the way down, the slot of the child being
    // visited holds the way back up (the parent's parent), and firstChannel, which nobody reads
    // again, counts the slots already done. Both are taken from records about to be freed.
    Limb* parent = nullptr;
    Limb* current = limb;
    if (current != nullptr) {
        current->firstChannel = 0;
    }
    while (current != nullptr) {
        uint32_t count = current->childCount <= static_cast<uint32_t>(kMaxChildren)
                             ? current->childCount
                             : static_cast<uint32_t>(kMaxChildren);
        uint32_t slot = current->firstChannel;
        if (slot < count) {
            Limb* child = current->children[slot];
            if (child == nullptr) {
                current->firstChannel = slot + 1;
                continue;
            }
            current->children[slot] = parent;
            parent = current;
            current = child;
            current->firstChannel = 0;
            continue;
        }
        if (current->associatedObject != host::kNoObject) {
            piFreeObject(current->associatedObject);
        }
        std::free(current);
        current = parent;
        if (current != nullptr) {
            slot = current->firstChannel;
            parent = current->children[slot];
            current->firstChannel = slot + 1;
        }
    }
    return 1;
}
