// open: fighost's main window, on the display or, for --screenshot, wherever Qt can paint.
#include <QtCore/QBuffer>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <cstdio>
#include <cstdlib>

#include "host/app/core/figure_loading.h"
#include "host/app/core/file_output.h"
#include "host/app/qt/picture_commands.h"
#include "host/app/window/application_identity.h"
#include "host/app/window/main_window.h"
#include "host/app/window/scene_widget.h"
#include "host/app/window/window_settings.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

// The window's size for --screenshot, in pixels.
constexpr int kScreenshotWidth = 1100, kScreenshotHeight = 720;

// Qt's remarks are not the user's concern; its errors are, in one line each. A fatal one (no
// display to connect to) ends fighost with exit status 1 instead of an abort.
void windowMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    QString line = message.section(QLatin1Char('\n'), 0, 0).trimmed();
    std::fprintf(
        stderr, "fighost: %s%s\n",
        type == QtFatalMsg ? "cannot open the window: " : "Qt: ", line.toLocal8Bit().constData());
    if (type == QtFatalMsg) {
        std::fflush(stderr);
        std::_Exit(1);
    }
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// A display server to show on, or a platform chosen for Qt.
bool haveDisplay() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

bool writeScreenshot(QWidget* window, const std::string& path, std::string* error) {
    QPixmap picture = window->grab();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG")) {
        *error = "cannot make the picture for " + path;
        return false;
    }
    return writeWholeFile(path, std::string(bytes.constData(), bytes.size()), error);
}

}  // namespace

int runOpenCommand(const ParsedArguments& parsed) {
    std::string error;
    int style = kSegmentCylinders, frame = 0;
    auto option = parsed.options.find("style");
    if (option != parsed.options.end() && !parseStyle(option->second, &style, &error))
        return fail(error);
    View view = View::kFront;
    option = parsed.options.find("view");
    if (option != parsed.options.end() && !parseView(option->second, &view, &error))
        return fail(error);
    bool atFrame = parsed.options.count("frame") != 0;
    if (atFrame && !parseFrame(parsed.options.at("frame"), &frame, &error))
        return fail(error);
    auto screenshot = parsed.options.find("screenshot");
    bool shoot = screenshot != parsed.options.end();
    if (shoot && !endsWith(screenshot->second, ".png"))
        return fail("cannot tell what to write to " + screenshot->second + ": name it .png");
    LoadRequest request;
    if (!chooseLoader(parsed, &request, &error))
        return fail(error);
    // A screenshot needs no display: Qt paints offscreen when there is none.
    if (shoot && !haveDisplay())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!haveDisplay())
        return fail("no display to open the window on (set DISPLAY, or use --screenshot)");

    qInstallMessageHandler(windowMessages);
    static int qtArgc = 1;
    static char name[] = "fighost";
    static char* qtArgv[] = {name, nullptr};
    QApplication application(qtArgc, qtArgv);
    identifyApplication();
    ModuleSession session;
    if (!session.open(request.modulePath, &error))
        return fail(error);
    MainWindow window(&session, style);
    // The posing --posing names, else the one last chosen in the View menu (a screenshot reads
    // no settings).
    bool posingGiven = parsed.options.count("posing") != 0;
    window.setPosing(posingGiven || shoot ? request.posing : keptPosing(request.posing));
    // A picture taken by itself has no one to answer a message box: stderr says it all.
    if (shoot)
        window.setMessageShower(nullptr);
    // --bvh and --fig name the loader; otherwise the window picks one by each file's extension.
    std::string forced;
    if (parsed.options.count("bvh") != 0 || parsed.options.count("fig") != 0)
        forced = session.entryNameFor(request.loader);
    // The files that load are opened; each of the others is reported, once the window shows.
    bool loaded = true;
    for (const std::string& file : parsed.operands) {
        request.path = file;
        request.loader = loaderFor(parsed, file);
        if (!checkReadable(request, &error)) {
            window.report(QString::fromStdString(error));
            loaded = false;
            continue;
        }
        loaded = window.loadFile(QString::fromStdString(file), forced) != host::kNoObject && loaded;
    }
    if (atFrame && frame > 0)
        window.showFrame(frame);
    window.sceneWidget()->setView(view);
    if (!shoot) {
        window.rememberSettings();
        window.show();
        return application.exec();
    }
    window.resize(kScreenshotWidth, kScreenshotHeight);
    window.show();
    QApplication::processEvents();
    window.sceneWidget()->setView(view);
    QApplication::processEvents();
    if (!writeScreenshot(&window, screenshot->second, &error))
        return fail(error);
    return loaded ? 0 : 1;
}

}  // namespace fighost
