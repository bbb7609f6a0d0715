// What the desktop knows fighost's window by: the desktop entry it was launched from, so that task
// bars group the window with its launcher, and the module's stick figure as its icon.
#pragma once

#include <QtGui/QIcon>

namespace fighost {

// The desktop entry's name without ".desktop" (share/applications/fighost.desktop).
extern const char kDesktopEntryName[];

// The stick figure of share/icons/hicolor/scalable/apps/fighost.svg, drawn at the sizes desktops
// ask for (16 to 256 pixels); built into fighost, so it shows wherever fighost runs from.
QIcon figureIcon();

// Gives the running application its desktop entry's name and the figure icon for every window.
// Call once the QGuiApplication exists.
void identifyApplication();

}  // namespace fighost
