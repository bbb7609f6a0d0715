// The stand-in for the host's plug-in library. It keeps a real scene (objects, their properties,
// geometry and plug-in data) so that tests and the host application can look at what the module
// did, and it can be told to fail in the ways a real host can.
#include <strings.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/stand_in_host.h"

namespace standin {
namespace {

// Host values are handed out from a small ring: the module only ever passes one straight on to a
// property setter, so a slot is long dead before the ring comes round to it again.
constexpr int kHostValueSlots = 64;

struct HostValue {
    enum Kind { kText, kPoint, kInteger } kind = kInteger;
    std::string text;
    PiPoint point{};
    int integer = 0;
};

// Everything the stand-in holds, for one process. The scene, the faults and the call counters
// are reset together by resetScene().
struct State {
    Scene scene;
    Faults faults;
    int createObjectCalls = 0;
    int putGeometryCalls = 0;
    bool echoErrors = true;
    RedrawListener redrawListener = nullptr;
    void* redrawContext = nullptr;
    ErrorListener errorListener = nullptr;
    void* errorContext = nullptr;
    HostValue values[kHostValueSlots];
    int nextValue = 0;
    std::string addExtResult;
};

State& state() {
    static State instance;
    return instance;
}

SceneObject* mutableObject(int handle) {
    auto& objects = state().scene.objects;
    if (handle < 1 || static_cast<size_t>(handle) > objects.size())
        return nullptr;
    return &objects[handle - 1];
}

PiHostValue storeValue(const HostValue& value) {
    State& s = state();
    int slot = s.nextValue;
    s.nextValue = (s.nextValue + 1) % kHostValueSlots;
    s.values[slot] = value;
    return static_cast<PiHostValue>(slot + 1);
}

const HostValue* lookupValue(PiHostValue value) {
    if (value < 1 || value > kHostValueSlots)
        return nullptr;
    return &state().values[value - 1];
}

int addObject(const std::string& name, int type) {
    auto& objects = state().scene.objects;
    SceneObject object;
    object.handle = static_cast<int>(objects.size()) + 1;
    object.name = name;
    object.type = type;
    objects.push_back(std::move(object));
    return objects.back().handle;
}

}  // namespace

size_t SceneObject::count(int kind) const {
    size_t n = 0;
    for (const GeometryItem& item : geometry)
        n += item.kind == kind;
    return n;
}

void resetScene() {
    State& s = state();
    State fresh;
    fresh.echoErrors = s.echoErrors;
    fresh.redrawListener = s.redrawListener;
    fresh.redrawContext = s.redrawContext;
    fresh.errorListener = s.errorListener;
    fresh.errorContext = s.errorContext;
    s = std::move(fresh);
}

const Scene& scene() {
    return state().scene;
}

const SceneObject* object(int handle) {
    return mutableObject(handle);
}

const SceneObject* objectNamed(const std::string& name) {
    for (const SceneObject& object : state().scene.objects)
        if (object.name == name)
            return &object;
    return nullptr;
}

void setFaults(const Faults& faults) {
    State& s = state();
    s.faults = faults;
    s.createObjectCalls = 0;
    s.putGeometryCalls = 0;
}

void setEchoErrors(bool echo) {
    state().echoErrors = echo;
}

void setRedrawListener(RedrawListener listener, void* context) {
    state().redrawListener = listener;
    state().redrawContext = context;
}

void setErrorListener(ErrorListener listener, void* context) {
    state().errorListener = listener;
    state().errorContext = context;
}

bool propertyInt(const char* name, int* value) {
    const PluginProperty* entry = state().scene.propertyBlock;
    if (entry == nullptr || name == nullptr)
        return false;
    for (; entry->name[0] != '\0'; ++entry) {
        if (std::strncmp(entry->name, name, sizeof entry->name) == 0) {
            std::memcpy(value, entry->value, sizeof *value);
            return true;
        }
    }
    return false;
}

}  // namespace standin

using standin::state;

extern "C" {

int piLibInit(intptr_t a, intptr_t b, const PiCommand* table, int flags) {
    standin::Scene& scene = state().scene;
    scene.libInitCalled = true;
    scene.libInitA = a;
    scene.libInitB = b;
    scene.libInitFlags = flags;
    scene.commands.clear();
    for (const PiCommand* row = table; row != nullptr && row->category != nullptr; ++row)
        scene.commands.push_back(
            {row->category, row->entry ? row->entry : "", row->label ? row->label : ""});
    return 1;
}

int piLibFuncInit(int message, int, PluginCall*, int) {
    standin::Scene& scene = state().scene;
    ++scene.funcInitCalls;
    scene.lastFuncInitMessage = message;
    return state().faults.funcInitFails ? 0 : 1;
}

int piSetLocalPluginProperty(uintptr_t target, PluginProperty* block) {
    state().scene.propertyTarget = target;
    state().scene.propertyBlock = block;
    return block != nullptr ? 1 : 0;
}

int piCreateObject(const char* name, int type) {
    standin::State& s = state();
    ++s.createObjectCalls;
    if (s.faults.createObjectFailsFrom != 0 &&
        s.createObjectCalls >= s.faults.createObjectFailsFrom)
        return -1;
    return standin::addObject(name ? name : "", type);
}

int piBind(int handle, const char* label) {
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr)
        return 0;
    object->boundLabel = label ? label : "";
    return 1;
}

int piSetObjectProperty(int handle, int property, PiHostValue value) {
    standin::SceneObject* object = standin::mutableObject(handle);
    const standin::HostValue* v = standin::lookupValue(value);
    if (object == nullptr || v == nullptr)
        return 0;
    switch (property) {
        case host::kLabelProperty:
            if (v->kind != standin::HostValue::kText)
                return 0;
            object->labelText = v->text;
            return 1;
        case host::kRotationProperty:
        case host::kPositionProperty:
            if (v->kind != standin::HostValue::kPoint)
                return 0;
            if (property == host::kRotationProperty) {
                object->rotation = v->point;
                object->hasRotation = true;
            } else {
                object->position = v->point;
                object->hasPosition = true;
            }
            return 1;
        default:
            return 0;
    }
}

PiHostValue piReturnBdVarPtr(const char* text) {
    standin::HostValue v;
    v.kind = standin::HostValue::kText;
    v.text = text ? text : "";
    return standin::storeValue(v);
}

PiHostValue piReturnBdVarPnt(const PiPoint* point) {
    standin::HostValue v;
    v.kind = standin::HostValue::kPoint;
    if (point != nullptr)
        v.point = *point;
    return standin::storeValue(v);
}

PiHostValue piReturnBdVarInt(int value) {
    standin::HostValue v;
    v.kind = standin::HostValue::kInteger;
    v.integer = value;
    return standin::storeValue(v);
}

int piRebuildObject(int handle, int) {
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr)
        return 0;
    ++object->rebuildCount;
    return 1;
}

int piFindObject(const char* name) {
    if (name == nullptr)
        return -1;
    const standin::SceneObject* object = standin::objectNamed(name);
    return object ? object->handle : -1;
}

int piSetObjectData(int handle, void* data) {
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr)
        return 0;
    object->data = data;
    return 1;
}

int piGetObjectData(int handle, void** data) {
    ++state().scene.getObjectDataCalls;
    if (state().faults.getObjectDataFails)
        return 0;
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr || data == nullptr)
        return 0;
    *data = object->data;
    return 1;
}

int piPutGeometry(int handle, int kind, const PiPoint* points) {
    standin::State& s = state();
    ++s.putGeometryCalls;
    if (s.faults.putGeometryFailsFrom != 0 && s.putGeometryCalls >= s.faults.putGeometryFailsFrom)
        return 0;
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr || points == nullptr || kind < 1 || kind > 3)
        return 0;
    object->geometry.push_back({kind, static_cast<uint32_t>(object->points.size())});
    object->points.insert(object->points.end(), points, points + kind);
    return 1;
}

int piDeleteGeometry(int handle) {
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr)
        return 0;
    object->geometry.clear();
    object->points.clear();
    ++object->deleteGeometryCount;
    return 1;
}

int piSetSceneProperty(int property, PiHostValue value) {
    const standin::HostValue* v = standin::lookupValue(value);
    if (property != host::kDrawingSceneProperty || v == nullptr ||
        v->kind != standin::HostValue::kInteger)
        return 0;
    state().scene.sceneProperty1001 = v->integer;
    state().scene.sceneProperty1001History.push_back(v->integer);
    return 1;
}

int piRedraw(void) {
    ++state().scene.redrawCount;
    if (state().redrawListener != nullptr)
        state().redrawListener(state().redrawContext);
    return 1;
}

int piFreeObject(int handle) {
    standin::SceneObject* object = standin::mutableObject(handle);
    if (object == nullptr)
        return 0;
    object->released = true;
    return 1;
}

int piLoad(const char* fileName) {
    struct stat info;
    if (fileName == nullptr || stat(fileName, &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    // The new object is named after the file: no folder, no last extension.
    std::string name = fileName;
    size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    int handle = standin::addObject(name, host::kFigureObjectType);
    standin::mutableObject(handle)->loadedFromFile = true;
    state().scene.loadedFiles.push_back(fileName);
    return 1;
}

int piTransform(int code, const char* operation) {
    state().scene.transforms.emplace_back(code, operation ? operation : "");
    return 1;
}

int ErrorMessage(const char* format, ...) {
    if (format == nullptr)
        return 0;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    va_end(args);
    if (state().echoErrors)
        std::fprintf(stderr, "%s\n", text.c_str());
    state().scene.errors.push_back(std::move(text));
    if (state().errorListener != nullptr)
        state().errorListener(state().scene.errors.back(), state().errorContext);
    return 1;
}

const char* AddExt(const char* path, const char* ext) {
    std::string& result = state().addExtResult;
    result = path ? path : "";
    // A name that has an extension of its own keeps it: only a "." after the last folder
    // separator counts.
    size_t nameStart = result.find_last_of("/\\");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    if (result.find('.', nameStart) == std::string::npos)
        result += ext ? ext : "";
    return result.c_str();
}

void ZeroPoint(PiPoint* point) {
    if (point != nullptr)
        *point = PiPoint{0.0f, 0.0f, 0.0f};
}

void CopyPoint(const PiPoint* from, PiPoint* to) {
    if (from != nullptr && to != nullptr)
        *to = *from;
}

}  // extern "C"
