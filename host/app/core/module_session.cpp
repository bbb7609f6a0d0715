// Loading and driving the module through its exports and the command table.
#include "host/app/core/module_session.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "host/app/core/library_folder.h"
#include "platform/shared_library.h"

namespace fighost {
namespace {

// What the host passes as the target of the property block; the module hands it straight back.
constexpr uintptr_t kPropertyTarget = 1;

PluginCall freshCall(int objectHandle = host::kNoObject, uintptr_t callValue = 0) {
    PluginCall call{};
    call.objectHandle = objectHandle;
    call.callValue = callValue;
    return call;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A name with the loader's extension for a file that has none: a link in a scratch folder,
// removed with this.
class ExtensionLink {
  public:
    ExtensionLink(const std::string& file, const char* extension) {
        char* target = realpath(file.c_str(), nullptr);
        if (target == nullptr)
            return;
        const char* base = std::getenv("TMPDIR");
        std::string folder = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                             "/fighost-open-XXXXXX";
        if (mkdtemp(&folder[0]) != nullptr) {
            folder_ = folder;
            const size_t slash = file.find_last_of('/');
            std::string link = folder + "/" +
                               (slash == std::string::npos ? file : file.substr(slash + 1)) +
                               extension;
            if (symlink(target, link.c_str()) == 0)
                path_ = link;
        }
        std::free(target);
    }
    ~ExtensionLink() {
        if (!path_.empty())
            unlink(path_.c_str());
        if (!folder_.empty())
            rmdir(folder_.c_str());
    }
    ExtensionLink(const ExtensionLink&) = delete;
    ExtensionLink& operator=(const ExtensionLink&) = delete;

    // The link; empty when it could not be made.
    const std::string& path() const { return path_; }

  private:
    std::string folder_, path_;
};

}  // namespace

std::string fileToOpen(const std::string& path, bool bioVision) {
    if (isRegularFile(path))
        return path;
    return AddExt(path.c_str(), bioVision ? ".bvh" : ".fig");
}

const char kBioVisionLoader[] = "BioVision loader";
const char kFigureLoader[] = "Figure loader";

std::string defaultModulePath() {
    return libraryPath("libfigure.so", FIGHOST_DEFAULT_MODULE);
}

ModuleSession::~ModuleSession() {
    if (library_ == nullptr)
        return;
    // The host discards the data of its objects before it stops the module.
    Entry entry = objectEntry();
    for (const standin::SceneObject& object : standin::scene().objects) {
        if (deleted(object.handle) || object.data == nullptr || entry == nullptr)
            continue;
        PluginCall call = freshCall(object.handle);
        entry(kMessageDiscard, 0, &call);
    }
    if (stop_ != nullptr)
        stop_(0);
    // The library stays mapped until the process ends, so that a leak report can still name the
    // module's frames.
}

bool ModuleSession::open(const std::string& libraryPath, std::string* error) {
    std::string reason;
    platform::LibraryHandle library = platform::loadLibrary(libraryPath, &reason);
    if (library == nullptr) {
        *error = "cannot load the module " + libraryPath + ": " + reason;
        return false;
    }
    auto start = platform::findFunction<decltype(&piInit)>(library, "piInit");
    stop_ = platform::findFunction<decltype(&piExit)>(library, "piExit");
    getFigure_ = platform::findFunction<decltype(&GetFigure)>(library, "GetFigure");
    if (start == nullptr || stop_ == nullptr || getFigure_ == nullptr) {
        *error = "cannot load the module " + libraryPath + ": it lacks piInit, piExit or GetFigure";
        stop_ = nullptr;
        return false;
    }
    library_ = library;
    start(0, 0);
    return true;
}

ModuleSession::Entry ModuleSession::entryNamed(const std::string& entryName) const {
    if (library_ == nullptr || entryName.empty())
        return nullptr;
    return platform::findFunction<Entry>(library_, entryName.c_str());
}

std::string ModuleSession::entryNameFor(const std::string& label) const {
    for (const standin::Command& row : standin::scene().commands)
        if (row.label == label && !row.entry.empty())
            return row.entry;
    return std::string();
}

std::string ModuleSession::objectEntryName() const {
    if (!lastEntry_.empty())
        return lastEntry_;
    const std::vector<standin::Command>& commands = standin::scene().commands;
    for (const standin::Command& row : commands)
        if (row.category == "BUILD" && entryNamed(row.entry) != nullptr)
            return row.entry;
    for (const standin::Command& row : commands)
        if (entryNamed(row.entry) != nullptr)
            return row.entry;
    return std::string();
}

int ModuleSession::send(const std::string& entryName, int message, int objectHandle,
                        uintptr_t callValue, PluginCall* result) {
    Entry entry = entryNamed(entryName);
    if (entry == nullptr)
        return 0;
    PluginCall call = freshCall(objectHandle, callValue);
    int answer = entry(message, 0, &call);
    if (result != nullptr)
        *result = call;
    return answer;
}

std::string ModuleSession::textResult(const std::string& entryName, int message) {
    PluginCall call{};
    if (send(entryName, message, host::kNoObject, 0, &call) != 1 ||
        call.resultKind != kResultText || call.callValue == 0 || call.resultSize < 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(call.callValue),
                       static_cast<size_t>(call.resultSize));
}

bool ModuleSession::setLimbType(int style, std::string* error) {
    return setProperty("LimbType", style, error);
}

bool ModuleSession::setPosing(int posing, std::string* error) {
    return setProperty("Posing", posing, error);
}

bool ModuleSession::setProperty(const char* name, int32_t value, std::string* error) {
    Entry entry = entryNamed(entryNameFor(kFigureLoader));
    if (entry == nullptr)
        entry = entryNamed(entryNameFor(kBioVisionLoader));
    PluginCall call = freshCall(host::kNoObject, kPropertyTarget);
    if (entry == nullptr || entry(kMessageProperties, 0, &call) != 1 ||
        standin::scene().propertyBlock == nullptr) {
        *error = "the module handed over no property block";
        return false;
    }
    // The block is the module's and writable: the host sets a property by writing its value
    // area, which the stand-in's control surface merely shows as read-only.
    for (auto* entryRow = const_cast<PluginProperty*>(standin::scene().propertyBlock);
         entryRow->name[0] != '\0'; ++entryRow) {
        if (std::strncmp(entryRow->name, name, sizeof entryRow->name) == 0) {
            std::memcpy(entryRow->value, &value, sizeof value);
            return true;
        }
    }
    *error = std::string("the module's property block has no \"") + name + "\"";
    return false;
}

int ModuleSession::load(const char* loaderLabel, const std::string& path, std::string* error) {
    const std::string entryName = entryNameFor(loaderLabel);
    if (!entryName.empty()) {
        int handle = loadWith(entryName, path, error);
        if (!error->empty())
            *error = std::string("the ") + loaderLabel + " could not load " + path;
        return handle;
    }
    *error = std::string("the module registered no \"") + loaderLabel + "\" command";
    return host::kNoObject;
}

int ModuleSession::loadWith(const std::string& entryName, const std::string& path,
                            std::string* error) {
    Entry entry = entryNamed(entryName);
    if (entry == nullptr) {
        *error = "the module has no command entry " + entryName;
        return host::kNoObject;
    }
    // The module adds its extension to a name that has none: such a file is handed over by a
    // name that has it.
    const char* extension = entryName == entryNameFor(kBioVisionLoader) ? ".bvh" : ".fig";
    std::unique_ptr<ExtensionLink> link;
    const std::string withExtension = AddExt(path.c_str(), extension);
    if (withExtension != path && isRegularFile(path))
        link = std::make_unique<ExtensionLink>(path, extension);
    const std::string& handed = link != nullptr && !link->path().empty() ? link->path() : path;
    const standin::Scene& scene = standin::scene();
    size_t objectsBefore = scene.objects.size();
    size_t errorsBefore = scene.errors.size();
    PluginCall call = freshCall(host::kNoObject, reinterpret_cast<uintptr_t>(handed.c_str()));
    int answer = entry(kMessageMainAction, 0, &call);
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
            *error = "the " + entryName + " command could not load " + path;
        return host::kNoObject;
    }
    lastEntry_ = entryName;
    return handle;
}

int ModuleSession::pose(int objectHandle, int frame) {
    Entry entry = objectEntry();
    if (entry == nullptr)
        return 0;
    PluginCall call = freshCall(objectHandle, static_cast<uintptr_t>(frame));
    return entry(kMessagePose, 0, &call);
}

void ModuleSession::discard(int objectHandle) {
    if (standin::object(objectHandle) == nullptr || deleted(objectHandle))
        return;
    if (Entry entry = objectEntry()) {
        PluginCall call = freshCall(objectHandle);
        entry(kMessageDiscard, 0, &call);
    }
    deleted_.insert(objectHandle);
    piFreeObject(objectHandle);
}

FigureData* ModuleSession::figure(int objectHandle) const {
    if (getFigure_ == nullptr || deleted(objectHandle))
        return nullptr;
    return getFigure_(objectHandle);
}

}  // namespace fighost
