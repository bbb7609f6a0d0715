// Loading a file in the window: the Load command a file's name chooses, and the load through the
// core's loading path, the module's messages meanwhile naming the file the loader opens.
#pragma once

#include <QtCore/QString>
#include <string>

#include "host/app/core/file_facts.h"
#include "host/app/core/module_session.h"

namespace fighost {

class WindowMessages;

// The entry of the first Load command of the command table whose file filter takes path's name,
// its extension in any letter case; when none does, the Figure loader's (else the first Load
// command's); empty when the table has no Load command.
std::string loadEntryFor(ModuleSession* session, const std::string& path);

// A file loaded into a scene object.
struct LoadedFile {
    int handle = host::kNoObject;  // the new object; -1 when none was made
    std::string opened;            // the file the loader opened
    bool saveable = false;         // Save may write the figure back to opened
    FileFacts facts;               // what opened held
};

// Loads path as the Load command of entry does (loadEntryFor's when entry is empty), giving the
// figure style and posing. A folder or a file the module did not make a figure of is told to the
// person through messages once: by the module's own messages, else by ours.
LoadedFile loadWindowFile(ModuleSession* session, const QString& path, const std::string& entry,
                          int style, int posing, WindowMessages* messages);

}  // namespace fighost
