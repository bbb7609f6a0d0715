// The host's side of the module protocol: loads the module library, starts it, finds the command
// entries its command table names and drives them with call records and message codes only. The
// figure data of an object is reached through the module's exported GetFigure.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in_host.h"

class FigureData;

namespace fighost {

// Labels of the two loader commands in the module's command table.
extern const char kBioVisionLoader[];
extern const char kFigureLoader[];

// The module library fighost loads when --module does not name another.
const char* defaultModulePath();

class ModuleSession {
  public:
    ModuleSession() = default;
    // Discards the data of every object this session loaded, then stops the module.
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // Loads the library and starts it (piInit). False with one line for the user in error.
    bool open(const std::string& libraryPath, std::string* error);
    // Sets the segment style that the loader commands give the next figure: the "LimbType"
    // property of the block the module hands over with message 128. False with a reason.
    bool setLimbType(int style, std::string* error);
    // Runs the loader command of that label on path. The new object's handle, or -1 when the
    // load failed; the module's own messages have then been shown by the host, and error holds
    // a line of ours only when the module said nothing.
    int load(const char* loaderLabel, const std::string& path, std::string* error);
    // Sends the pose message for the object at frame. The module's answer: 1 posed, 0 when it
    // refused (frame 0 reads as "no call value", so the object keeps its last pose).
    int pose(int objectHandle, int frame);
    // The figure data attached to the object, through the module's GetFigure; null for none.
    FigureData* figure(int objectHandle) const;

  private:
    using Entry = int (*)(int, int, PluginCall*);
    // The command entry that the command table names for a label; null when none.
    Entry entryFor(const char* label) const;

    void* library_ = nullptr;
    int (*stop_)(int) = nullptr;
    FigureData* (*getFigure_)(int) = nullptr;
    Entry lastEntry_ = nullptr;  // the entry that loaded the objects; poses and discards them
    std::vector<int> loaded_;    // objects whose data this session must discard
};

}  // namespace fighost
