// The host's plug-in library, as the module sees it. This is the only header that knows how the
// host works; everything else in the module calls these functions and nothing more. The stand-in
// in host/ implements exactly this interface, so any other implementation can take its place
// without rebuilding the module.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// A point in scene units.
struct PiPoint {
    float x, y, z;
};

// An opaque host value, made by one of the piReturnBdVar functions and only handed on to a
// property setter. Wide enough for a pointer on every build.
typedef intptr_t PiHostValue;

// One row of the command table handed to piLibInit; the table ends with a row of three nulls.
struct PiCommand {
    const char* category;
    const char* entry;
    const char* label;
};

// The host's record for one call of a command entry. The host owns it; the module reads the call
// value and object handle and writes results. On 32-bit builds this is the host's exact layout.
struct PluginCall {
    int32_t host;          // the host's own; neither read nor written by the module
    int32_t resultKind;    // written with a result: 1 text, 5 integer
    int32_t resultSize;    // text length without terminator, or 4 for the integer
    uintptr_t callValue;   // in: path, frame or property target; out: result text or integer
    int32_t objectHandle;  // the scene object the message concerns; -1 for none
};

// One 128-byte entry of the module's property block, handed to the host whole.
struct PluginProperty {
    int32_t kind;             // always 1
    uint8_t state;            // always 0
    char name[35];            // NUL-terminated, rest zero
    int32_t layout;           // always 88
    int32_t format;           // always 3
    uint8_t reserved[8];      // zero
    unsigned char value[72];  // a 32-bit integer, a double, or NUL-terminated text; rest zero
};

int piLibInit(intptr_t a, intptr_t b, const PiCommand* table, int flags);
int piLibFuncInit(int message, int argument, PluginCall* call, int one);
int piSetLocalPluginProperty(uintptr_t target, PluginProperty* block);
int piCreateObject(const char* name, int type);
int piBind(int handle, const char* label);
int piSetObjectProperty(int handle, int property, PiHostValue value);
PiHostValue piReturnBdVarPtr(const char* text);
PiHostValue piReturnBdVarPnt(const PiPoint* point);
PiHostValue piReturnBdVarInt(int value);
int piRebuildObject(int handle, int flags);
int piFindObject(const char* name);
int piSetObjectData(int handle, void* data);
int piGetObjectData(int handle, void** data);
int piPutGeometry(int handle, int kind, const PiPoint* points);
int piDeleteGeometry(int handle);
int piSetSceneProperty(int property, PiHostValue value);
int piRedraw(void);
int piFreeObject(int handle);
int piLoad(const char* fileName);
int piTransform(int code, const char* operation);
int ErrorMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// Host-owned text, valid until the next AddExt.
const char* AddExt(const char* path, const char* ext);
void ZeroPoint(PiPoint* point);
void CopyPoint(const PiPoint* from, PiPoint* to);

}  // extern "C"

// Host constants the module uses.
namespace host {
constexpr int kNoObject = -1;
constexpr int kFigureObjectType = 25;
constexpr int kCableObjectType = 8;
constexpr int kLabelProperty = 301;
constexpr int kRotationProperty = 4;
constexpr int kPositionProperty = 5;
constexpr int kDrawingSceneProperty = 1001;
constexpr int kGeometryPoint = 1;
constexpr int kGeometryLine = 2;
constexpr int kGeometryTriangle = 3;
}  // namespace host

static_assert(sizeof(PiPoint) == 12, "the host reads points as three packed floats");
static_assert(sizeof(PluginProperty) == 128, "the host reads 128-byte property entries");
static_assert(offsetof(PluginProperty, kind) == 0 && offsetof(PluginProperty, state) == 4 &&
                  offsetof(PluginProperty, name) == 5 && offsetof(PluginProperty, layout) == 40 &&
                  offsetof(PluginProperty, format) == 44 &&
                  offsetof(PluginProperty, reserved) == 48 && offsetof(PluginProperty, value) == 56,
              "the property entry layout is fixed by the host");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PluginCall) == 20 && offsetof(PluginCall, resultKind) == 4 &&
                  offsetof(PluginCall, resultSize) == 8 && offsetof(PluginCall, callValue) == 12 &&
                  offsetof(PluginCall, objectHandle) == 16,
              "on 32-bit builds the call record is the host's exact layout");
#endif
