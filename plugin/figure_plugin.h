// The plug-in object: the one FigurePlugin that answers the host between piInit and piExit. Its
// virtual operations keep the host's slot order; slots 0 to 11, 16 and 20 to 23 are the host
// protocol, 12 to 15 and 17 to 19 what is particular to figures.
#pragma once

#include <cstdint>

#include "plugin/host_library.h"
#include "plugin/host_protocol.h"
#include "plugin/property_block.h"

// Which command entry was called last.
enum PluginMode : int32_t {
    kModeBuilder = 0,          // Fig
    kModeFigureLoader = 1,     // FigLoad
    kModeBioVisionLoader = 3,  // BvhLoad
};

// The id of the module's command icon (a 32 x 32 bitmap resource).
constexpr int kIconId = 131;
// Size of the base-name buffer, terminator included: the longest path the platform allows.
constexpr int kBaseNameSize = 260;
// Size of the buffer the object's label is formatted into.
constexpr int kLabelSize = 80;

class FigurePlugin {
  public:
    FigurePlugin();
    virtual ~FigurePlugin();

    // 0: 1 when there is a call record with a non-zero call value.
    virtual int hasCallValue();
    // 1: 1 when there is a call record that names an object.
    virtual int hasObject();
    // 2: the latest call record; null before the first call. Owned by the host.
    virtual PluginCall* callRecord();
    // 3: the property block in use.
    virtual PluginPropertyBlock* propertyBlock();
    // 4: uses another property block (not owned). Always 1.
    virtual int setPropertyBlock(PluginPropertyBlock* block);
    // 5 to 8: store a value in entry index's value area, the rest of the area zeroed. An index
    // outside the block's entries changes nothing; text is cut to fit the area. Always 1.
    virtual int setPropertyDouble(int index, double value);
    virtual int setPropertyInt(int index, int32_t value);
    virtual int setPropertyLong(int index, int32_t value);
    virtual int setPropertyText(int index, const char* text);
    // 9: entry index's value area; null for an index outside the block.
    virtual unsigned char* propertyValue(int index);
    // 10, 11: the number in entry index's value area; 0 for an index outside the block.
    virtual int32_t propertyInt(int index);
    virtual double propertyDouble(int index);
    // 12: one line on what the module does.
    virtual const char* aboutText();
    // 13: the file-dialog filter for the current mode.
    virtual const char* fileFilter();
    // 14: the id of the command icon.
    virtual int iconId();
    // 15: opens the "Settings" sheet for the call's object; 1.
    virtual int showSettings();
    // 16: hands the property block to the host; the host's answer.
    virtual int handOverProperties();
    // 17: poses the object's figure at a frame; 1.
    virtual int poseObject(int objectHandle, int frame);
    // 18: destroys the object's figure data; 1.
    virtual int discardObjectData(int objectHandle);
    // 19: the command's main action; 1 on success.
    virtual int mainAction();
    // 20: answers one host message; 0 for a message not handled or whose condition fails.
    virtual int dispatch(int message, int argument);
    // 21: records the call, lets the host prepare it and dispatches it.
    virtual int commandCall(int message, int argument, PluginCall* record);
    // 22: the file name of path without folder and without anything from its first "."; the
    // text lives in a module-wide buffer valid until the next call.
    virtual const char* baseName(const char* path);
    // 23: creates a figure object under name, labelled and bound to label; -1 on failure.
    virtual int createObject(const char* name, const char* label);

    // Sets the mode and makes the call.
    int run(int message, int argument, PluginCall* record, PluginMode mode);
    // The "LimbType" entry: the segment style given to figures the loaders make.
    int limbType();
    int setLimbType(int value);
    // The "Posing" entry: the PosingMode given to figures the loaders and the builder make.
    int posing();
    int setPosing(int value);

    PluginMode currentMode() const { return mode; }

  private:
    // Entry index's entry; null outside the block.
    PluginProperty* entry(int index);

    PluginCall* call;                 // latest command-entry call; owned by the host
    PluginPropertyBlock* properties;  // not owned
    PluginMode mode;
};

// The module's plug-in object; null before piInit and after piExit.
FigurePlugin* modulePlugin();
