// Loading one figure for a command through a module session, and what went wrong.
#include "host/app/core/figure_loading.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/figure_data.h"

namespace fighost {
const char kLoaderOptionsHelp[] =
    "      --bvh            load with the BioVision loader, whatever the extension\n"
    "      --fig            load with the Figure loader, whatever the extension\n"
    "      --module PATH    the module library to load (default: the one built with fighost)\n"
    "      --posing P       how a frame turns the limbs: captured (default; each limb's rotations\n"
    "                       in its CHANNELS order, passed down to the limbs below it) or world\n"
    "                       (each limb turns its children about the world's axes)\n"
    "  -h, --help           show this help and stop\n";

std::string openedPath(const LoadRequest& request) {
    return fileToOpen(request.path, request.loader == kBioVisionLoader);
}

bool holdsFigure(const FigureData& figure) {
    const Limb* root = figure.root;
    bool limbs = root != nullptr && (root->childCount != 0 || std::strcmp(root->name, ".") != 0);
    bool channels = figure.motion != nullptr && figure.motion->channelCount() != 0;
    return limbs || channels;
}

std::string noFigureMessage(const std::string& file) {
    return file + " holds no figure";
}

bool checkReadable(const LoadRequest& request, std::string* error) {
    std::string opened = openedPath(request);
    struct stat info;
    if (stat(opened.c_str(), &info) != 0) {
        *error = "cannot read " + opened + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = "cannot read " + opened + ": not a file";
        return false;
    }
    if (access(opened.c_str(), R_OK) != 0) {
        *error = "cannot read " + opened + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool endsWith(const std::string& text, const char* suffix) {
    size_t length = std::strlen(suffix);
    return text.size() >= length && strcasecmp(text.c_str() + text.size() - length, suffix) == 0;
}

std::vector<OptionSpec> withLoaderOptions(std::vector<OptionSpec> specs) {
    specs.push_back({"bvh", 0, false});
    specs.push_back({"fig", 0, false});
    specs.push_back({"module", 0, true});
    specs.push_back({"posing", 0, true});
    return specs;
}

const char* loaderFor(const ParsedArguments& parsed, const std::string& path) {
    const bool bvh = parsed.options.count("bvh") != 0, fig = parsed.options.count("fig") != 0;
    return bvh || (!fig && endsWith(path, ".bvh")) ? kBioVisionLoader : kFigureLoader;
}

bool chooseLoader(const ParsedArguments& parsed, LoadRequest* request, std::string* error) {
    bool bvh = parsed.options.count("bvh") != 0, fig = parsed.options.count("fig") != 0;
    if (bvh && fig) {
        *error = "--bvh and --fig cannot both be given";
        return false;
    }
    request->loader = loaderFor(parsed, request->path);
    auto module = parsed.options.find("module");
    request->modulePath = module != parsed.options.end() ? module->second : defaultModulePath();
    auto posing = parsed.options.find("posing");
    return posing == parsed.options.end() || parsePosing(posing->second, &request->posing, error);
}

int loadInto(ModuleSession* session, const LoadRequest& request, const std::string& entry,
             std::string* error, LoadFailure* failure) {
    LoadFailure why = LoadFailure::kNone;
    int handle = host::kNoObject;
    error->clear();
    if (!session->setLimbType(request.style, error) || !session->setPosing(request.posing, error))
        why = LoadFailure::kNotLoaded;
    else if ((handle = entry.empty() ? session->load(request.loader, request.path, error)
                                     : session->loadWith(entry, request.path, error)) ==
             host::kNoObject)
        why = LoadFailure::kNotLoaded;
    else if (session->figure(handle) == nullptr) {
        why = LoadFailure::kNoFigure;
        *error = "the module attached no figure to the object it made";
    } else if (!holdsFigure(*session->figure(handle))) {
        why = LoadFailure::kEmpty;
        *error = noFigureMessage(openedPath(request));
    }
    if (why != LoadFailure::kNone && handle != host::kNoObject) {
        // No empty object is kept.
        session->discard(handle);
        handle = host::kNoObject;
    }
    if (failure != nullptr)
        *failure = why;
    return handle;
}

int loadFigure(ModuleSession* session, const LoadRequest& request) {
    std::string error;
    if (!checkReadable(request, &error) ||
        (!session->isOpen() && !session->open(request.modulePath, &error))) {
        fail(error);
        return host::kNoObject;
    }
    int handle = loadInto(session, request, std::string(), &error);
    // The module's own messages have been shown as they stand; ours only when it said none.
    if (handle == host::kNoObject && !error.empty())
        fail(error);
    return handle;
}

}  // namespace fighost
