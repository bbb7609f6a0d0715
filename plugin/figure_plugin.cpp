// The plug-in object's host protocol: call checks, property access, dispatch and the scene
// object of a loaded figure. The figure work behind the messages is in figure_commands.cpp.
#include "plugin/figure_plugin.h"

#include <cstdio>
#include <cstring>

#include "platform/win_string.h"

namespace {

// The base-name buffer: baseName's result, read by the loader to name a new scene object; valid
// until the next baseName call.
char baseNameBuffer[kBaseNameSize];

const char kAboutText[] =
    "Loads, builds, poses and draws articulated stick figures from .fig "
    "and .bvh files";
const char kBioVisionFilter[] = "BioVision (*.bvh) |*.bvh||";
const char kFigureFilter[] = "Figure File (*.fig) |*.fig||";

}  // namespace

FigurePlugin::FigurePlugin() : call(nullptr), properties(nullptr), mode(kModeBuilder) {
    setPropertyBlock(modulePropertyBlock());
    setLimbType(1);
}

FigurePlugin::~FigurePlugin() = default;

int FigurePlugin::hasCallValue() {
    return call != nullptr && call->callValue != 0;
}

int FigurePlugin::hasObject() {
    return call != nullptr && call->objectHandle != host::kNoObject;
}

PluginCall* FigurePlugin::callRecord() {
    return call;
}

PluginPropertyBlock* FigurePlugin::propertyBlock() {
    return properties;
}

int FigurePlugin::setPropertyBlock(PluginPropertyBlock* block) {
    properties = block;
    return 1;
}

PluginProperty* FigurePlugin::entry(int index) {
    if (properties == nullptr || index < 0 || index >= kPropertyCount)
        return nullptr;
    return &properties->entries[index];
}

int FigurePlugin::setPropertyDouble(int index, double value) {
    if (PluginProperty* e = entry(index)) {
        std::memset(e->value, 0, sizeof e->value);
        std::memcpy(e->value, &value, sizeof value);
    }
    return 1;
}

int FigurePlugin::setPropertyInt(int index, int32_t value) {
    if (PluginProperty* e = entry(index)) {
        std::memset(e->value, 0, sizeof e->value);
        std::memcpy(e->value, &value, sizeof value);
    }
    return 1;
}

int FigurePlugin::setPropertyLong(int index, int32_t value) {
    return setPropertyInt(index, value);
}

int FigurePlugin::setPropertyText(int index, const char* text) {
    PluginProperty* e = entry(index);
    if (e == nullptr)
        return 1;
    std::memset(e->value, 0, sizeof e->value);
    if (text != nullptr) {
        size_t length = std::strlen(text);
        if (length > sizeof e->value - 1)
            length = sizeof e->value - 1;
        std::memcpy(e->value, text, length);
    }
    return 1;
}

unsigned char* FigurePlugin::propertyValue(int index) {
    PluginProperty* e = entry(index);
    return e != nullptr ? e->value : nullptr;
}

int32_t FigurePlugin::propertyInt(int index) {
    int32_t value = 0;
    if (PluginProperty* e = entry(index))
        std::memcpy(&value, e->value, sizeof value);
    return value;
}

double FigurePlugin::propertyDouble(int index) {
    double value = 0.0;
    if (PluginProperty* e = entry(index))
        std::memcpy(&value, e->value, sizeof value);
    return value;
}

const char* FigurePlugin::aboutText() {
    return kAboutText;
}

const char* FigurePlugin::fileFilter() {
    return mode == kModeBioVisionLoader ? kBioVisionFilter : kFigureFilter;
}

int FigurePlugin::iconId() {
    return kIconId;
}

int FigurePlugin::handOverProperties() {
    return piSetLocalPluginProperty(call->callValue, properties ? properties->entries : nullptr);
}

int FigurePlugin::dispatch(int message, int) {
    auto textResult = [this](const char* text) {
        call->resultKind = kResultText;
        call->resultSize = static_cast<int32_t>(std::strlen(text));
        call->callValue = reinterpret_cast<uintptr_t>(text);
        return 1;
    };
    switch (message) {
        case kMessageMainAction:
            return hasCallValue() ? mainAction() : 0;
        case kMessageFileFilter:
            return textResult(fileFilter());
        case kMessageAboutText:
            return textResult(aboutText());
        case kMessageSettings:
            return showSettings();
        case kMessageProperties:
            return hasCallValue() ? handOverProperties() : 0;
        case kMessagePose:
            if (!hasCallValue() || !hasObject())
                return 0;
            poseObject(call->objectHandle, static_cast<int>(call->callValue));
            return 1;
        case kMessageIcon:
            call->resultKind = kResultInteger;
            call->resultSize = 4;
            call->callValue = static_cast<uintptr_t>(iconId());
            return 1;
        case kMessageDiscard:
            if (!hasObject())
                return 0;
            discardObjectData(call->objectHandle);
            return 1;
        default:
            return 0;
    }
}

int FigurePlugin::commandCall(int message, int argument, PluginCall* record) {
    call = record;
    if (piLibFuncInit(message, argument, record, 1) == 0)
        return 0;
    // Results are written into the record, so a call without one is answered with 0.
    if (call == nullptr)
        return 0;
    return dispatch(message, argument);
}

const char* FigurePlugin::baseName(const char* path) {
    if (path == nullptr)
        path = "";
    // Only the file name is kept, so the search runs over the whole path: a path longer than the
    // buffer still gives its own file name.
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    if (win::lstrlenA(name) < kBaseNameSize) {
        win::lstrcpyA(baseNameBuffer, name);
    } else {
        std::memcpy(baseNameBuffer, name, kBaseNameSize - 1);
        baseNameBuffer[kBaseNameSize - 1] = '\0';
    }
    if (char* dot = std::strchr(baseNameBuffer, '.'))
        *dot = '\0';
    return baseNameBuffer;
}

int FigurePlugin::createObject(const char* name, const char* label) {
    int handle = piCreateObject(name, host::kFigureObjectType);
    if (handle == host::kNoObject)
        return host::kNoObject;
    char labelText[kLabelSize];
    // The formatting call knows no bounds, so a label too long for the buffer is cut first.
    if (label != nullptr && win::lstrlenA(label) < kLabelSize) {
        win::wsprintfA(labelText, "%s", label);
    } else {
        std::snprintf(labelText, sizeof labelText, "%s", label ? label : "");
    }
    piSetObjectProperty(handle, host::kLabelProperty, piReturnBdVarPtr(labelText));
    piBind(handle, label);
    return handle;
}

int FigurePlugin::run(int message, int argument, PluginCall* record, PluginMode newMode) {
    mode = newMode;
    return commandCall(message, argument, record);
}

int FigurePlugin::limbType() {
    return propertyInt(kPropertyLimbType);
}

int FigurePlugin::setLimbType(int value) {
    setPropertyInt(kPropertyLimbType, value);
    return 1;
}

int FigurePlugin::posing() {
    return propertyInt(kPropertyPosing);
}

int FigurePlugin::setPosing(int value) {
    setPropertyInt(kPropertyPosing, value);
    return 1;
}
