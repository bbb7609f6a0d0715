// The limb tree: one record per joint of a figure. Limbs come from the general heap, one by one,
// zero-filled; a limb owns its children and a tree is freed from its root only (freeTree).
//
// Where the operations live: making, naming, finding and freeing limbs in model/limb.cpp; the one
// walk of a tree (pre-order, capped at kMaxChildren and kMaxLimbDepth, deleted limbs skipped or
// not) that every other pass goes through in model/limb_walk.h; reading a tree from a file in
// hierarchy/hierarchy_reader.cpp, writing one in hierarchy/hierarchy_writer.cpp; which channels a
// limb owns in model/limb_channels.*; posing and drawing in drawing/.
#pragma once

#include <cstdint>

#include "plugin/host_library.h"

// A limb has at most this many children: the record keeps them in a fixed array.
constexpr int kMaxChildren = 32;
// Name fields with their terminators: 15-character limb names, 43-character map names.
constexpr int kLimbNameSize = 16;
constexpr int kMapNameSize = 44;
// A limb lies at most this many levels below its root. Far beyond any real skeleton, and shallow
// enough that walks recursing once per level (finding, drawing, writing, listing) stay well
// within the stack; the reader reads deeper blocks in step but makes no limb for them.
constexpr int kMaxLimbDepth = 1000;

struct Limb {
    Limb* children[kMaxChildren];  // slots 0 to childCount-1 are used, in the order added
    char name[kLimbNameSize];      // "." for a new limb; names beginning with "." are placeholders
    char mapName[kMapNameSize];    // scene object that follows this limb's segments; empty for none
    uint32_t childCount;
    uint32_t firstChannel;  // the limb's first channel in the figure's motion table; 0 if none
    int32_t deleted;   // 1 once the user deleted the limb: drawing, writing and listing skip it
    double radius;     // thickness of the segments drawn from this joint; 0.4 for a new limb
    PiPoint offset;    // joint position relative to the parent's joint
    PiPoint rotation;  // current rotation about the joint, radians; set by posing
    int32_t associatedObject;  // host handle found under mapName; -1 until looked up
    // How many channels this limb's CHANNELS statement declared (firstChannel up to
    // firstChannel + declaredChannels - 1); 0 for a limb that declared none. Posing and saving use
    // it to tell which channels belong to which limb.
    uint32_t declaredChannels;
};

// One row of the built-in table of default radii by limb name; the table ends with a null name.
struct LimbDefault {
    const char* name;
    double radius;
};

// The default radii, looked up by setName.
extern const LimbDefault kLimbDefaults[];

// Allocates a zero-filled limb named "." with radius 0.4 and no associated object. On failure
// shows "Error Allocating Stik Element\n" and returns null. The caller owns the limb.
Limb* newLimb();
// Appends a new limb to parent's children and returns it; null when parent is null, the limb
// cannot be made, or parent already has kMaxChildren children. The parent owns the child.
Limb* addChild(Limb* parent);
// Copies at most 15 characters of name into the limb, then takes the radius from the default
// table when the name stands there (letter case ignored). Always 1; a null limb changes nothing.
int setName(Limb* limb, const char* name);
// Pre-order search below and including start, deleted limbs included. With a name: the first
// limb of that name (letter case ignored). Without: the first limb whose firstChannel is at least
// channelIndex. Null when nothing matches or start is null. Looks no deeper than kMaxLimbDepth
// levels below start.
Limb* findLimb(Limb* start, const char* name, uint32_t channelIndex);
// Frees the subtree bottom-up, releasing each associated host object. Always 1. Walks without
// recursion or allocation, so a tree of any depth is freed.
int freeTree(Limb* limb);
// Copies a map name into the limb, cut to 43 characters.
void setMapName(Limb* limb, const char* mapName);
