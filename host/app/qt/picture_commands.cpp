// render and frames: pictures of a loaded figure, drawn with Qt on its offscreen platform.
#include "host/app/qt/picture_commands.h"

#include <QtCore/QDir>
#include <QtGui/QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "host/app/core/figure_loading.h"
#include "host/app/core/obj_writer.h"
#include "host/app/core/scene_view.h"
#include "host/app/window/picture_writer.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

// The picture options shared by render and frames.
struct PictureOptions {
    View view = View::kFront;
    int size = 800;
    std::string output;
};

bool parsePictureOptions(const ParsedArguments& parsed, LoadRequest* request,
                         PictureOptions* options, std::string* error) {
    auto option = [&parsed](const char* name) -> const std::string* {
        auto found = parsed.options.find(name);
        return found != parsed.options.end() ? &found->second : nullptr;
    };
    if (option("style") && !parseStyle(*option("style"), &request->style, error))
        return false;
    if (option("view") && !parseView(*option("view"), &options->view, error))
        return false;
    if (!parseSize(parsed, &options->size, error))
        return false;
    if (option("output") == nullptr || option("output")->empty()) {
        *error = "no output given: use -o OUT";
        return false;
    }
    options->output = *option("output");
    return true;
}

// Reads the operand and the loading and picture options; false with a reason.
bool prepare(const char* command, const ParsedArguments& parsed, LoadRequest* request,
             PictureOptions* options, std::string* error) {
    if (parsed.operands.size() != 1) {
        *error = std::string("expected one FILE (see 'fighost ") + command + " --help')";
        return false;
    }
    request->path = parsed.operands[0];
    return chooseLoader(parsed, request, error) &&
           parsePictureOptions(parsed, request, options, error);
}

// Qt's remarks (a runtime folder it made, fonts it looked for) are not the user's concern, and a
// failure is reported by fighost in its own one line: only a fatal message is passed on.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg)
        return;
    QString line = message.section(QLatin1Char('\n'), 0, 0).trimmed();
    std::fprintf(stderr, "fighost: Qt: %s\n", line.toLocal8Bit().constData());
    // One line and exit status 1, as every failure, instead of Qt's abort.
    std::fflush(stderr);
    std::_Exit(1);
}

// Qt paints on its offscreen platform, so no display is needed.
std::unique_ptr<QGuiApplication> startQt() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qInstallMessageHandler(quietQt);
    static int qtArgc = 1;
    static char name[] = "fighost";
    static char* qtArgv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(qtArgc, qtArgv);
}

}  // namespace

int runRenderCommand(const ParsedArguments& parsed) {
    LoadRequest request;
    PictureOptions options;
    std::string error;
    int frame = 0;
    bool atFrame = parsed.options.count("frame") != 0;
    if (!prepare("render", parsed, &request, &options, &error) ||
        (atFrame && !parseFrame(parsed.options.at("frame"), &frame, &error)))
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

    auto qt = startQt();
    std::vector<ViewItem> items = viewItems(object, options.view);
    PictureRequest picture;
    picture.path = options.output;
    picture.format = kind == kPng ? PictureFormat::kPng : PictureFormat::kSvg;
    picture.size = options.size;
    picture.fitBounds = boundsOf(items);
    picture.title = object.name;
    return writePicture(items, picture, &error) ? 0 : fail(error);
}

int runFramesCommand(const ParsedArguments& parsed) {
    LoadRequest request;
    PictureOptions options;
    std::string error;
    if (!prepare("frames", parsed, &request, &options, &error))
        return fail(error);

    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    auto qt = startQt();
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

}  // namespace fighost
