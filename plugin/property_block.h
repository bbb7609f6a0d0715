// The module's property block: the settings it hands to the host whole (message 128).
#pragma once

#include "plugin/host_library.h"

// Entries of the block, by index; a zero entry follows the last.
enum PropertyIndex : int {
    kPropertyVersion = 0,
    kPropertyLimbType = 1,  // the segment style the loader commands give a new figure
    kPropertySubSegments = 2,
    kPropertyDivisions = 3,
    kPropertyPosing = 4,  // the PosingMode the loader commands and the builder give a new figure
    kPropertyCount = 5,
};

// Size of an entry's value area, terminator included for text.
constexpr int kPropertyValueSize = static_cast<int>(sizeof(PluginProperty::value));

// The block: kPropertyCount entries and the terminating entry of 128 zero bytes.
struct PluginPropertyBlock {
    PluginProperty entries[kPropertyCount + 1];
};

// The module-wide block, initialised with "Version" 1, "LimbType" 1, "SubSegments" 9,
// "Divisions" 8 and "Posing" 0. It lives as long as the module.
PluginPropertyBlock* modulePropertyBlock();
