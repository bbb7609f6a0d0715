// The figure work behind the host's messages: the main action of each command, posing an
// object's figure and discarding an object's figure data.
#include "plugin/figure_plugin.h"

// The settings sheet is not there yet: the message is answered as if the sheet had been closed.
int FigurePlugin::showSettings() {
    return 1;
}

// Figures cannot be loaded yet, so no object carries figure data to pose or discard.
int FigurePlugin::poseObject(int, int) {
    return 1;
}

int FigurePlugin::discardObjectData(int) {
    return 1;
}

int FigurePlugin::mainAction() {
    return 0;
}
