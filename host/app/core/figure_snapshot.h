// Snapshots of scene objects, for Undo: the figure as the module's own writer writes it, read back
// by the module's own loader into a new scene object, and what the .fig file does not hold (the
// object's name, how the figure is drawn, the frame it was shown at, the file it came from).
#pragma once

#include <cstdint>
#include <string>

#include "host/app/core/file_facts.h"

class FigureData;

namespace fighost {

class ModuleSession;

// What a snapshot keeps of a figure beside its .fig file, read from and written into the figure
// record the module hands the host. A trait added to the figure record is added here, in
// traitsOf, applyTraits and sameTraits.
struct FigureTraits {
    int32_t style = 1;   // segmentStyle
    int32_t posing = 0;  // posing; a .fig file does not hold it
};
FigureTraits traitsOf(const FigureData& figure);
void applyTraits(const FigureTraits& traits, FigureData* figure);
bool sameTraits(const FigureTraits& a, const FigureTraits& b);

struct ObjectSnapshot {
    std::string figureFile;  // what the figure's own save wrote
    std::string name;        // the scene object's name
    FigureTraits traits;
    int frame = 0;  // the frame the window showed it at; 0 for the rest pose
    // The file the object was loaded from or saved to, as the File menu knew it.
    bool hasFile = false;
    std::string path;
    bool saveable = false;
    // What that file held, as the window read it.
    bool hasFacts = false;
    FileFacts facts;
};

// Writes the figure through its own save into a scratch file and reads the bytes back. False
// with a reason (the module has told the person of a failed save itself).
bool writeFigureFile(FigureData* figure, std::string* bytes, std::string* error);

// Loads figureFile through the module's Figure loader into a new scene object named name and
// gives its figure the traits. The new handle; -1 with a reason.
int loadFigureFile(ModuleSession* session, const std::string& figureFile, const std::string& name,
                   const FigureTraits& traits, std::string* error);

// Makes every limb that follows a scene object by name (MAP) follow the live object of that name:
// an object made again has a new handle, and the one it replaced is gone.
void relinkMaps(ModuleSession* session);

}  // namespace fighost
