#include "host/app/commands.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtCore/QDir>
#include <QtGui/QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/app/command_line.h"
#include "host/app/figure_summary.h"
#include "host/app/module_session.h"
#include "host/app/obj_writer.h"
#include "host/app/picture_writer.h"
#include "host/app/scene_view.h"
#include "host/app/summary_output.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

// Picture sizes fighost accepts, in pixels a side.
constexpr int kMinPictureSize = 16;
constexpr int kMaxPictureSize = 8192;
constexpr int kDefaultPictureSize = 800;

const char kMainUsage[] =
    "Usage: fighost COMMAND [OPTION]... FILE...\n"
    "Loads stick figures with the figure module, as the modelling host does, and shows them.\n"
    "\n"
    "Commands:\n"
    "  info FILE      the object's name, limb tree, channels and frames\n"
    "  render FILE    a picture (.png, .svg) or the geometry (.obj) of the figure\n"
    "  frames FILE    one PNG picture per frame of the figure's motion\n"
    "  convert IN OUT save the figure as a .fig file\n"
    "\n"
    "'fighost COMMAND --help' describes a command and its options.\n";

const char kLoaderOptions[] =
    "      --bvh            load with the BioVision loader, whatever the extension\n"
    "      --fig            load with the Figure loader, whatever the extension\n"
    "      --module PATH    the module library to load (default: the one built with fighost)\n"
    "  -h, --help           show this help and stop\n";

const char kInfoUsage[] =
    "Usage: fighost info FILE [--frame K] [--json]\n"
    "Loads FILE (.bvh with the BioVision loader, anything else with the Figure loader) and\n"
    "prints the scene object's name, the limb tree (name, offset, radius, first channel, the\n"
    "channels each limb declared, map name), the channel count and the frame count.\n"
    "\n"
    "      --frame K        also pose the object at frame K (0 to 255) and print that frame's\n"
    "                       channel values and every drawn joint position; at frame 0 the\n"
    "                       module does not pose, so the figure stays in its rest pose\n"
    "      --json           print one JSON document instead of text\n";

const char kRenderUsage[] =
    "Usage: fighost render FILE [--frame K] [--style S] [--view V] [--size N] -o OUT\n"
    "Loads FILE with limbs drawn in style S, poses it at frame K when given, and writes what the\n"
    "module drew: OUT.png or OUT.svg as a picture fitted to the figure, OUT.obj as vertices,\n"
    "lines and faces.\n"
    "\n"
    "      --frame K        pose at frame K (0 to 255; frame 0 is the rest pose)\n"
    "      --style S        lines, cylinders (default) or balloons\n"
    "      --view V         front (default), side, top or iso\n"
    "      --size N         pictures are N by N pixels (default 800)\n"
    "  -o, --output OUT     the file to write\n";

const char kFramesUsage[] =
    "Usage: fighost frames FILE [--style S] [--view V] [--size N] -o DIR\n"
    "Loads FILE and writes one picture per frame of its motion, DIR/frame-000.png onwards, all\n"
    "fitted to the figure's extent over every frame. Frame 0 shows the rest pose.\n"
    "\n"
    "      --style S        lines, cylinders (default) or balloons\n"
    "      --view V         front (default), side, top or iso\n"
    "      --size N         pictures are N by N pixels (default 800)\n"
    "  -o, --output DIR     the folder to write into; made when missing\n";

const char kConvertUsage[] =
    "Usage: fighost convert IN OUT\n"
    "Loads IN and saves the figure as OUT.fig through the figure's own save (\".fig\" is added\n"
    "when OUT does not end with it).\n"
    "\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "fighost: %s\n", message.c_str());
    return 1;
}

// What every command shares: the loader, the module, the loaded object.
struct LoadRequest {
    std::string path;
    const char* loader = kFigureLoader;
    std::string modulePath;
    int style = kSegmentCylinders;
};

std::vector<OptionSpec> withLoaderOptions(std::vector<OptionSpec> specs) {
    specs.push_back({"bvh", 0, false});
    specs.push_back({"fig", 0, false});
    specs.push_back({"module", 0, true});
    return specs;
}

bool endsWith(const std::string& text, const char* suffix) {
    size_t length = std::strlen(suffix);
    return text.size() >= length && strcasecmp(text.c_str() + text.size() - length, suffix) == 0;
}

// Fills the loader and module of request from the options; false with a reason.
bool chooseLoader(const ParsedArguments& parsed, LoadRequest* request, std::string* error) {
    bool bvh = parsed.options.count("bvh") != 0, fig = parsed.options.count("fig") != 0;
    if (bvh && fig) {
        *error = "--bvh and --fig cannot both be given";
        return false;
    }
    request->loader =
        bvh || (!fig && endsWith(request->path, ".bvh")) ? kBioVisionLoader : kFigureLoader;
    auto module = parsed.options.find("module");
    request->modulePath = module != parsed.options.end() ? module->second : defaultModulePath();
    return true;
}

// The module opens the path with its loader's extension added; that file must be readable.
bool checkReadable(const LoadRequest& request, std::string* error) {
    std::string opened =
        AddExt(request.path.c_str(), request.loader == kBioVisionLoader ? ".bvh" : ".fig");
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

// Starts the module, sets the style and loads; the object's handle, or -1 after reporting.
int loadFigure(ModuleSession* session, const LoadRequest& request) {
    std::string error;
    if (!checkReadable(request, &error) || !session->open(request.modulePath, &error) ||
        !session->setLimbType(request.style, &error)) {
        fail(error);
        return host::kNoObject;
    }
    int handle = session->load(request.loader, request.path, &error);
    if (handle == host::kNoObject) {
        // The module's own messages have been shown as they stand; ours only when it said none.
        if (!error.empty())
            fail(error);
        return host::kNoObject;
    }
    if (session->figure(handle) == nullptr) {
        fail("the module attached no figure to the object it made");
        return host::kNoObject;
    }
    return handle;
}

// Parses a command's arguments; a negative result is "go on", otherwise the exit status.
int parseCommand(int argc, char** argv, const std::vector<OptionSpec>& specs, const char* usage,
                 size_t operands, ParsedArguments* parsed) {
    std::vector<std::string> args(argv + 2, argv + argc);
    std::string error;
    if (!parseArguments(args, specs, parsed, &error))
        return fail(error + " (see 'fighost " + argv[1] + " --help')");
    if (parsed->help) {
        std::fputs(usage, stdout);
        std::fputs(kLoaderOptions, stdout);
        return 0;
    }
    if (parsed->operands.size() != operands)
        return fail(std::string(operands == 1 ? "expected one FILE" : "expected IN and OUT") +
                    " (see 'fighost " + argv[1] + " --help')");
    return -1;
}

bool parseSize(const ParsedArguments& parsed, int* size, std::string* error) {
    *size = kDefaultPictureSize;
    auto option = parsed.options.find("size");
    if (option == parsed.options.end())
        return true;
    const std::string& text = option->second;
    bool digits = !text.empty() && text.size() <= 5;
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    *size = digits ? std::atoi(text.c_str()) : 0;
    if (*size < kMinPictureSize || *size > kMaxPictureSize) {
        *error = "size must be a whole number of pixels from " + std::to_string(kMinPictureSize) +
                 " to " + std::to_string(kMaxPictureSize) + ", not '" + text + "'";
        return false;
    }
    return true;
}

// Qt's own remarks (a runtime folder it made, fonts it looked for) are not the user's concern;
// only its errors are passed on.
void qtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "fighost: Qt: %s\n", message.toLocal8Bit().constData());
}

// Qt paints on its offscreen platform, so no display is needed.
std::unique_ptr<QGuiApplication> startQt(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qInstallMessageHandler(qtMessage);
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    (void)argc;
    return std::make_unique<QGuiApplication>(qtArgc, qtArgv);
}

int runInfo(int argc, char** argv) {
    ParsedArguments parsed;
    int status =
        parseCommand(argc, argv, withLoaderOptions({{"frame", 0, true}, {"json", 0, false}}),
                     kInfoUsage, 1, &parsed);
    if (status >= 0)
        return status;
    LoadRequest request;
    request.path = parsed.operands[0];
    // Joints are read from line segments, each running from a parent's joint to a child's.
    request.style = kSegmentLines;
    std::string error;
    int frame = 0;
    bool atFrame = parsed.options.count("frame") != 0;
    if (!chooseLoader(parsed, &request, &error) ||
        (atFrame && !parseFrame(parsed.options["frame"], &frame, &error)))
        return fail(error);

    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    const standin::SceneObject* object = standin::object(handle);
    FigureSummary summary = summarizeFigure(*session.figure(handle), object->name, request.loader);
    if (atFrame) {
        bool posed = session.pose(handle, frame) == 1;
        addFrame(*session.figure(handle), *standin::object(handle), frame, posed, &summary);
    }
    std::string text = parsed.options.count("json") ? summaryJson(summary) : summaryText(summary);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// The picture options shared by render and frames.
struct PictureOptions {
    View view = View::kFront;
    int size = kDefaultPictureSize;
    std::string output;
};

bool parsePictureOptions(ParsedArguments& parsed, LoadRequest* request, PictureOptions* options,
                         std::string* error) {
    if (parsed.options.count("style") &&
        !parseStyle(parsed.options["style"], &request->style, error))
        return false;
    if (parsed.options.count("view") && !parseView(parsed.options["view"], &options->view, error))
        return false;
    if (!parseSize(parsed, &options->size, error))
        return false;
    auto output = parsed.options.find("output");
    if (output == parsed.options.end() || output->second.empty()) {
        *error = "no output given: use -o OUT";
        return false;
    }
    options->output = output->second;
    return true;
}

std::vector<OptionSpec> pictureSpecs(bool withFrame) {
    std::vector<OptionSpec> specs = {
        {"style", 0, true}, {"view", 0, true}, {"size", 0, true}, {"output", 'o', true}};
    if (withFrame)
        specs.push_back({"frame", 0, true});
    return withLoaderOptions(specs);
}

int runRender(int argc, char** argv) {
    ParsedArguments parsed;
    int status = parseCommand(argc, argv, pictureSpecs(true), kRenderUsage, 1, &parsed);
    if (status >= 0)
        return status;
    LoadRequest request;
    request.path = parsed.operands[0];
    PictureOptions options;
    std::string error;
    int frame = 0;
    bool atFrame = parsed.options.count("frame") != 0;
    if (!chooseLoader(parsed, &request, &error) ||
        !parsePictureOptions(parsed, &request, &options, &error) ||
        (atFrame && !parseFrame(parsed.options["frame"], &frame, &error)))
        return fail(error);
    enum { kObj, kPng, kSvg } kind;
    if (endsWith(options.output, ".obj"))
        kind = kObj;
    else if (endsWith(options.output, ".png"))
        kind = kPng;
    else if (endsWith(options.output, ".svg"))
        kind = kSvg;
    else
        return fail("cannot tell what to write to " + options.output +
                    ": name it .png, .svg or .obj");

    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    if (atFrame)
        session.pose(handle, frame);
    const standin::SceneObject& object = *standin::object(handle);
    if (kind == kObj)
        return writeObj(object, options.output, &error) ? 0 : fail(error);

    auto qt = startQt(argc, argv);
    std::vector<ViewItem> items = viewItems(object, options.view);
    PictureRequest picture;
    picture.path = options.output;
    picture.format = kind == kPng ? PictureFormat::kPng : PictureFormat::kSvg;
    picture.size = options.size;
    picture.fitBounds = boundsOf(items);
    picture.title = object.name;
    return writePicture(items, picture, &error) ? 0 : fail(error);
}

int runFrames(int argc, char** argv) {
    ParsedArguments parsed;
    int status = parseCommand(argc, argv, pictureSpecs(false), kFramesUsage, 1, &parsed);
    if (status >= 0)
        return status;
    LoadRequest request;
    request.path = parsed.operands[0];
    PictureOptions options;
    std::string error;
    if (!chooseLoader(parsed, &request, &error) ||
        !parsePictureOptions(parsed, &request, &options, &error))
        return fail(error);

    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    auto qt = startQt(argc, argv);
    QDir folder(QString::fromStdString(options.output));
    if (!folder.mkpath(QStringLiteral(".")))
        return fail("cannot make the folder " + options.output);

    const FigureData& figure = *session.figure(handle);
    unsigned frameCount = figure.motion != nullptr ? figure.motion->frameCount : 0;
    // A figure without motion still has its rest pose to show.
    unsigned frames = frameCount > 0 ? frameCount : 1;
    // Every frame is seen first, so that all pictures share one fit and the figure moves within
    // them instead of being re-centred frame by frame.
    std::vector<std::vector<ViewItem>> views;
    views.reserve(frames);
    ViewBounds bounds;
    for (unsigned frame = 0; frame < frames; ++frame) {
        if (frame > 0)
            session.pose(handle, static_cast<int>(frame));
        views.push_back(viewItems(*standin::object(handle), options.view));
        bounds.add(boundsOf(views.back()));
    }
    for (unsigned frame = 0; frame < frames; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%03u.png", frame);
        PictureRequest picture;
        picture.path = folder.filePath(QString::fromLatin1(name)).toStdString();
        picture.size = options.size;
        picture.fitBounds = bounds;
        if (!writePicture(views[frame], picture, &error)) {
            std::fputc('\n', stderr);
            return fail(error);
        }
        std::fprintf(stderr, "\rfighost: frame %u of %u", frame + 1, frames);
        std::fflush(stderr);
    }
    std::fputc('\n', stderr);
    return 0;
}

int runConvert(int argc, char** argv) {
    ParsedArguments parsed;
    int status = parseCommand(argc, argv, withLoaderOptions({}), kConvertUsage, 2, &parsed);
    if (status >= 0)
        return status;
    LoadRequest request;
    request.path = parsed.operands[0];
    std::string error;
    if (!chooseLoader(parsed, &request, &error))
        return fail(error);
    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    // The figure saves itself; the module shows why when it cannot.
    return session.figure(handle)->save(parsed.operands[1].c_str()) == 1 ? 0 : 1;
}

}  // namespace

int runFighost(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kMainUsage, stderr);
        return 1;
    }
    std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kMainUsage, stdout);
        return 0;
    }
    if (command == "info")
        return runInfo(argc, argv);
    if (command == "render")
        return runRender(argc, argv);
    if (command == "frames")
        return runFrames(argc, argv);
    if (command == "convert")
        return runConvert(argc, argv);
    return fail("unknown command '" + command + "' (see 'fighost --help')");
}

}  // namespace fighost
