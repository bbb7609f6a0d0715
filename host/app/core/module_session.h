// The host's side of the module protocol: loads the module library, starts it, finds the command
// entries its command table names and drives them with call records and message codes only. The
// figure data of an object is reached through the module's exported GetFigure.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "plugin/entry_points.h"
#include "plugin/figure_access.h"
#include "plugin/host_protocol.h"

class FigureData;

namespace fighost {

// Labels of the two loader commands in the module's command table.
extern const char kBioVisionLoader[];
extern const char kFigureLoader[];

// The file a loader reads for path: path itself when a file is there, else path with the
// loader's extension (".bvh" for the BioVision loader, ".fig" for the others) added when it has
// none, as the module's own loader adds it.
std::string fileToOpen(const std::string& path, bool bioVision);

// The module library fighost loads when --module does not name another: the installed one beside
// the program, else the one built with it.
std::string defaultModulePath();

class ModuleSession {
  public:
    // A command entry; every one has the type of the module's Fig.
    using Entry = decltype(&Fig);

    ModuleSession() = default;
    // Discards the data of every object that still holds a figure and was not deleted, then
    // stops the module.
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // Loads the library and starts it (piInit). False with one line for the user in error.
    bool open(const std::string& libraryPath, std::string* error);
    bool isOpen() const { return library_ != nullptr; }
    // Sets the segment style that the loader commands give the next figure: the "LimbType"
    // property of the block the module hands over with message 128. False with a reason.
    bool setLimbType(int style, std::string* error);
    // Sets how frames of the next figure's motion turn its limbs (a PosingMode): the "Posing"
    // property, written as "LimbType" is. False with a reason.
    bool setPosing(int posing, std::string* error);
    // Runs the loader command of that label on path. The new object's handle, or -1 when the
    // load failed; the module's own messages have then been shown by the host, and error holds
    // a line of ours only when the module said nothing.
    int load(const char* loaderLabel, const std::string& path, std::string* error);
    // The same through the command entry of that exported name. A file named without an
    // extension, which the module would look for with its extension added, is read all the same
    // (through a link that has the extension, in a scratch folder of its own).
    int loadWith(const std::string& entryName, const std::string& path, std::string* error);
    // Sends the pose message for the object at frame. The module's answer: 1 posed, 0 when it
    // refused (frame 0 reads as "no call value", so the object keeps its last pose).
    int pose(int objectHandle, int frame);
    // Deletes the object as the host does: sends the discard message for it, then frees it. The
    // object is gone from the scene the session shows, and its handle is not used again.
    void discard(int objectHandle);
    // Whether discard deleted the object.
    bool deleted(int objectHandle) const { return deleted_.count(objectHandle) != 0; }
    // The figure data attached to the object, through the module's GetFigure; null for none and
    // for a deleted object.
    FigureData* figure(int objectHandle) const;

    // The exported command entry of that name; null when the module has none.
    Entry entryNamed(const std::string& entryName) const;
    // The name of the entry the command table registers under label; empty when none.
    std::string entryNameFor(const std::string& label) const;
    // The name of the entry that messages about objects go to (settings, pose, discard): the
    // one that loaded the last figure, else the Build command's, else the table's first that
    // the module exports; empty when there is none.
    std::string objectEntryName() const;
    // Calls an entry with a fresh call record for objectHandle and callValue; the record after
    // the call goes to result when given. The entry's answer; 0 for an entry that is not there.
    int send(const std::string& entryName, int message, int objectHandle, uintptr_t callValue,
             PluginCall* result = nullptr);
    // The entry's text result for a message (8 file filter, 16 about text); empty for none.
    std::string textResult(const std::string& entryName, int message);

  private:
    Entry objectEntry() const { return entryNamed(objectEntryName()); }
    // Writes the integer value of the property block's entry of that name.
    bool setProperty(const char* name, int32_t value, std::string* error);

    void* library_ = nullptr;
    decltype(&piExit) stop_ = nullptr;
    decltype(&GetFigure) getFigure_ = nullptr;
    std::string lastEntry_;  // the entry that loaded the objects
    std::set<int> deleted_;  // objects deleted through discard
};

}  // namespace fighost
