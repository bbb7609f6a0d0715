#include "host/app/module_session.h"

#include <dlfcn.h>

#include <cstring>

namespace fighost {
namespace {

// Host message codes.
constexpr int kMainAction = 1;
constexpr int kProperties = 128;
constexpr int kPose = 512;
constexpr int kDiscard = 8192;
// What the host passes as the target of the property block; the module hands it straight back.
constexpr uintptr_t kPropertyTarget = 1;

PluginCall freshCall() {
    PluginCall call{};
    call.objectHandle = host::kNoObject;
    return call;
}

}  // namespace

const char kBioVisionLoader[] = "BioVision loader";
const char kFigureLoader[] = "Figure loader";

const char* defaultModulePath() {
    return FIGHOST_DEFAULT_MODULE;
}

ModuleSession::~ModuleSession() {
    if (library_ == nullptr)
        return;
    // The host discards the data of its objects before it stops the module.
    for (int handle : loaded_) {
        PluginCall call = freshCall();
        call.objectHandle = handle;
        if (lastEntry_ != nullptr)
            lastEntry_(kDiscard, 0, &call);
    }
    if (stop_ != nullptr)
        stop_(0);
    // The library stays mapped until the process ends, so that a leak report can still name the
    // module's frames.
}

bool ModuleSession::open(const std::string& libraryPath, std::string* error) {
    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        *error = "cannot load the module " + libraryPath + ": " + (reason ? reason : "unknown");
        return false;
    }
    auto start = reinterpret_cast<int (*)(intptr_t, intptr_t)>(dlsym(library, "piInit"));
    stop_ = reinterpret_cast<int (*)(int)>(dlsym(library, "piExit"));
    getFigure_ = reinterpret_cast<FigureData* (*)(int)>(dlsym(library, "GetFigure"));
    if (start == nullptr || stop_ == nullptr || getFigure_ == nullptr) {
        *error = "cannot load the module " + libraryPath + ": it lacks piInit, piExit or GetFigure";
        stop_ = nullptr;
        return false;
    }
    library_ = library;
    start(0, 0);
    return true;
}

ModuleSession::Entry ModuleSession::entryFor(const char* label) const {
    if (library_ == nullptr)
        return nullptr;
    for (const standin::Command& row : standin::scene().commands)
        if (row.label == label && !row.entry.empty())
            return reinterpret_cast<Entry>(dlsym(library_, row.entry.c_str()));
    return nullptr;
}

bool ModuleSession::setLimbType(int style, std::string* error) {
    Entry entry = entryFor(kFigureLoader);
    if (entry == nullptr)
        entry = entryFor(kBioVisionLoader);
    PluginCall call = freshCall();
    call.callValue = kPropertyTarget;
    if (entry == nullptr || entry(kProperties, 0, &call) != 1 ||
        standin::scene().propertyBlock == nullptr) {
        *error = "the module handed over no property block";
        return false;
    }
    // The block is the module's and writable: the host sets a property by writing its value
    // area, which the stand-in's control surface merely shows as read-only.
    for (auto* entryRow = const_cast<PluginProperty*>(standin::scene().propertyBlock);
         entryRow->name[0] != '\0'; ++entryRow) {
        if (std::strncmp(entryRow->name, "LimbType", sizeof entryRow->name) == 0) {
            int32_t value = style;
            std::memcpy(entryRow->value, &value, sizeof value);
            return true;
        }
    }
    *error = "the module's property block has no \"LimbType\"";
    return false;
}

int ModuleSession::load(const char* loaderLabel, const std::string& path, std::string* error) {
    Entry entry = entryFor(loaderLabel);
    if (entry == nullptr) {
        *error = std::string("the module registered no \"") + loaderLabel + "\" command";
        return host::kNoObject;
    }
    const standin::Scene& scene = standin::scene();
    size_t objectsBefore = scene.objects.size();
    size_t errorsBefore = scene.errors.size();
    PluginCall call = freshCall();
    call.callValue = reinterpret_cast<uintptr_t>(path.c_str());
    int answer = entry(kMainAction, 0, &call);
    int handle = host::kNoObject;
    // The new object is the last figure object the load added to the scene.
    for (size_t i = scene.objects.size(); i > objectsBefore; --i) {
        if (scene.objects[i - 1].type == host::kFigureObjectType) {
            handle = scene.objects[i - 1].handle;
            break;
        }
    }
    if (answer != 1 || handle == host::kNoObject) {
        if (scene.errors.size() == errorsBefore)
            *error = std::string("the ") + loaderLabel + " could not load " + path;
        return host::kNoObject;
    }
    lastEntry_ = entry;
    loaded_.push_back(handle);
    return handle;
}

int ModuleSession::pose(int objectHandle, int frame) {
    if (lastEntry_ == nullptr)
        return 0;
    PluginCall call = freshCall();
    call.objectHandle = objectHandle;
    call.callValue = static_cast<uintptr_t>(frame);
    return lastEntry_(kPose, 0, &call);
}

FigureData* ModuleSession::figure(int objectHandle) const {
    return getFigure_ != nullptr ? getFigure_(objectHandle) : nullptr;
}

}  // namespace fighost
