#include "plugin/property_block.h"

#include <cstring>

namespace {

PluginProperty integerEntry(const char* name, int value) {
    PluginProperty entry;
    std::memset(&entry, 0, sizeof entry);
    entry.kind = 1;
    entry.state = 0;
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.layout = 88;
    entry.format = 3;
    std::memcpy(entry.value, &value, sizeof value);
    return entry;
}

// The module-wide property block. The plug-in object reads and writes "LimbType" and "Posing" in
// it; the host reads all of it after message 128, for as long as the module is loaded.
PluginPropertyBlock propertyBlock = {{
    integerEntry("Version", 1),
    integerEntry("LimbType", 1),
    integerEntry("SubSegments", 9),
    integerEntry("Divisions", 8),
    integerEntry("Posing", 0),
    PluginProperty{},
}};

}  // namespace

PluginPropertyBlock* modulePropertyBlock() {
    return &propertyBlock;
}
