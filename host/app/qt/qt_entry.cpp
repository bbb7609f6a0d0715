// The entry of fighost's Qt library: the commands that draw or show a window.
#include <cstring>

#include "host/app/qt/picture_commands.h"
#include "host/app/qt/qt_commands.h"

extern "C" __attribute__((visibility("default"))) int fighostRunQtCommand(
    const char* command, const fighost::ParsedArguments* parsed) {
    if (std::strcmp(command, "render") == 0)
        return fighost::runRenderCommand(*parsed);
    if (std::strcmp(command, "frames") == 0)
        return fighost::runFramesCommand(*parsed);
    if (std::strcmp(command, "open") == 0)
        return fighost::runOpenCommand(*parsed);
    return 1;
}
