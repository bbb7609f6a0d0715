// Choosing the Load command by a file's name and loading the file for the window.
#include "host/app/window/file_loading.h"

#include <QtCore/QFileInfo>
#include <cctype>

#include "host/app/core/figure_loading.h"
#include "host/app/window/window_messages.h"
#include "host/stand_in_host.h"
#include "toolkit/file_filter.h"

namespace fighost {
namespace {

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string loadEntryFor(ModuleSession* session, const std::string& path) {
    // Extensions match in any letter case ("WALK.BVH" is a capture), as the command line's do.
    const std::string name = lowerCase(path);
    std::string chosen, fallback;
    for (const standin::Command& command : standin::scene().commands) {
        if (command.category != "LOAD")
            continue;
        if (fallback.empty() || command.label == kFigureLoader)
            fallback = command.entry;
        const std::string filters = session->textResult(command.entry, kMessageFileFilter);
        for (toolkit::FileFilter filter : toolkit::parseFileFilters(filters.c_str())) {
            filter.pattern = lowerCase(filter.pattern);
            if (chosen.empty() && toolkit::matchesFilter(name, filter))
                chosen = command.entry;
        }
    }
    return chosen.empty() ? fallback : chosen;
}

LoadedFile loadWindowFile(ModuleSession* session, const QString& path, const std::string& entry,
                          int style, int posing, WindowMessages* messages) {
    LoadedFile loaded;
    if (QFileInfo(path).isDir()) {
        messages->report(QStringLiteral("%1 is a folder, not a figure file").arg(path));
        return loaded;
    }
    LoadRequest request;
    request.path = path.toStdString();
    request.style = style;
    request.posing = posing;
    const std::string chosen = entry.empty() ? loadEntryFor(session, request.path) : entry;
    if (chosen == session->entryNameFor(kBioVisionLoader))
        request.loader = kBioVisionLoader;
    // The file the loader opens, which its messages are about.
    loaded.opened = openedPath(request);
    std::string error;
    messages->setFile(QString::fromStdString(loaded.opened));
    loaded.handle = loadInto(session, request, chosen, &error);
    messages->setFile(QString());
    if (loaded.handle == host::kNoObject) {
        // The module's own message has reached the person already; ours only when it said none.
        if (!error.empty())
            messages->report(QString::fromStdString(error));
        return loaded;
    }
    loaded.facts = readFileFacts(loaded.opened);
    // A save adds ".fig" to a name without an extension, so such a file cannot be saved back to.
    loaded.saveable =
        request.loader == kFigureLoader && AddExt(loaded.opened.c_str(), ".fig") == loaded.opened;
    return loaded;
}

}  // namespace fighost
