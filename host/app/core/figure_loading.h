// Loading a figure, the one way every command and the window load: choosing the loader and the
// module from the options, checking the file, and loading it through a module session into a
// scene object that holds a figure.
#pragma once

#include <string>
#include <vector>

#include "host/app/core/command_line.h"
#include "host/app/core/module_session.h"

class FigureData;

namespace fighost {

// Whether text ends with suffix, in any letter case.
bool endsWith(const std::string& text, const char* suffix);

// What loading one figure needs.
struct LoadRequest {
    std::string path;
    const char* loader = kFigureLoader;
    std::string modulePath;
    int style = 1;   // cylinders
    int posing = 1;  // as captured: what people open captures in fighost for
};

// The options every loading command takes: --bvh, --fig, --module, --posing.
std::vector<OptionSpec> withLoaderOptions(std::vector<OptionSpec> specs);
// Their help text.
extern const char kLoaderOptionsHelp[];

// The loader --bvh or --fig names, else the one of path's extension: the BioVision loader for a
// ".bvh" file, the Figure loader for any other.
const char* loaderFor(const ParsedArguments& parsed, const std::string& path);

// Fills the loader (from --bvh, --fig or the extension of request->path), the module path and the
// posing (from --posing; left as it is without). False with a reason.
bool chooseLoader(const ParsedArguments& parsed, LoadRequest* request, std::string* error);

// The file the loader opens (openedPath): false with a reason when it is missing, no file, or
// unreadable.
bool checkReadable(const LoadRequest& request, std::string* error);

// The file the loader of request opens: its path when a file is there, else with the loader's
// extension added when it has none.
std::string openedPath(const LoadRequest& request);

// Whether the module read a figure at all: a file that holds none (a picture, an empty or any
// other text file) leaves only the placeholder root "." with no limb and no channel.
bool holdsFigure(const FigureData& figure);
// The line that says so: "FILE holds no figure".
std::string noFigureMessage(const std::string& file);

// Why loadInto made no object.
enum class LoadFailure {
    kNone,
    kNotLoaded,  // the style or the posing could not be set, or the loader failed
    kNoFigure,   // the module made an object without a figure
    kEmpty,      // the file holds no figure
};

// Loads request's file through the started session: sets the style and the posing, runs the
// loader (the command entry entry when one is given, as a Load command of the window does; else
// request's loader) and checks that the new object holds a figure; an object without one is
// discarded. The object's handle; else -1 with why in failure (when given) and a reason in error,
// empty when the module's own messages have said it.
int loadInto(ModuleSession* session, const LoadRequest& request, const std::string& entry,
             std::string* error, LoadFailure* failure = nullptr);

// Starts the module when the session has not, then sets the style and the posing and loads
// request's file.
// The object's handle, or -1 after reporting in one line (or the module's own messages); a file
// that holds no figure is reported and its empty object discarded.
int loadFigure(ModuleSession* session, const LoadRequest& request);

}  // namespace fighost
