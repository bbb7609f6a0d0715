// The stand-in host's own control surface, for tests and for the host application. It is not part
// of the plug-in library's C interface: the module never includes this header.
//
// The stand-in keeps a real scene. Handles are 1-based indices into Scene::objects; -1 is none
// and 0 is never handed out (the settings sheet reads 0 as "no object").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/host_library.h"

namespace standin {

// One piece of geometry in the order it was put: kind 1 point, 2 line, 3 triangle, with its
// points at Scene-object points[first] to points[first + kind - 1].
struct GeometryItem {
    int kind;
    uint32_t first;
};

struct SceneObject {
    int handle = -1;
    std::string name;
    int type = 0;
    std::string boundLabel;  // piBind's label
    std::string labelText;   // property 301
    bool hasRotation = false;
    // Property 4, degrees (X, Y, Z). The scene turns the object's points about the world X axis
    // by rotation.x, then about Y by rotation.y, then about Z by rotation.z (Rz * Ry * Rx on
    // column vectors), before moving them by the position; fighost draws the object so.
    PiPoint rotation{};
    bool hasPosition = false;
    PiPoint position{};  // property 5
    std::vector<GeometryItem> geometry;
    std::vector<PiPoint> points;  // the points of every geometry item, in order
    void* data = nullptr;         // attached plug-in data
    bool released = false;        // piFreeObject was called for it
    bool loadedFromFile = false;  // made by piLoad
    int rebuildCount = 0;
    int deleteGeometryCount = 0;

    // Number of geometry items of one kind.
    size_t count(int kind) const;
};

// A command table row as registered by piLibInit.
struct Command {
    std::string category, entry, label;
};

struct Scene {
    std::vector<SceneObject> objects;  // handle h is objects[h - 1]
    int sceneProperty1001 = 0;
    std::vector<int> sceneProperty1001History;  // every value set, in order
    int redrawCount = 0;
    std::vector<std::string> errors;  // every ErrorMessage text, formatted

    // What the module registered and asked for.
    bool libInitCalled = false;
    intptr_t libInitA = 0, libInitB = 0;
    int libInitFlags = 0;
    std::vector<Command> commands;
    int funcInitCalls = 0;
    int lastFuncInitMessage = 0;
    const PluginProperty* propertyBlock = nullptr;  // last block given to piSetLocalPluginProperty
    uintptr_t propertyTarget = 0;
    int getObjectDataCalls = 0;
    std::vector<std::string> loadedFiles;                 // piLoad calls that succeeded
    std::vector<std::pair<int, std::string>> transforms;  // piTransform calls
};

// Faults to inject; the defaults inject none. Counts are 1-based call numbers counted from the
// moment the faults are set; 0 means never.
struct Faults {
    bool funcInitFails = false;       // piLibFuncInit answers 0
    int createObjectFailsFrom = 0;    // piCreateObject answers -1 from its n-th call on
    int putGeometryFailsFrom = 0;     // piPutGeometry answers 0 from its n-th call on
    bool getObjectDataFails = false;  // piGetObjectData answers 0
};

// Empties the scene and clears every fault.
void resetScene();
// Everything the stand-in holds.
const Scene& scene();
// The object under a handle; null for a handle that names none.
const SceneObject* object(int handle);
// The first object of that name; null when there is none.
const SceneObject* objectNamed(const std::string& name);
void setFaults(const Faults& faults);
// Whether ErrorMessage texts are also printed to stderr (on by default).
void setEchoErrors(bool echo);
// A host application's hooks: called after each piRedraw, and with the text of each
// ErrorMessage once it is recorded. Null for none; resetScene keeps them.
using RedrawListener = void (*)(void* context);
using ErrorListener = void (*)(const std::string& text, void* context);
void setRedrawListener(RedrawListener listener, void* context);
void setErrorListener(ErrorListener listener, void* context);
// Properties of the property block handed over with piSetLocalPluginProperty, by entry name:
// the integer in its value area. Answers false when the block or the name is missing.
bool propertyInt(const char* name, int* value);

}  // namespace standin
