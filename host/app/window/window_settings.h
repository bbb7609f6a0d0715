// Where fighost's window comes back: the size, place and layout it was left with and the folder
// files were last chosen from, and how the figures loaded are posed, kept with QSettings (on Linux
// in ~/.config/fighost/fighost.conf). A window without anything kept opens at a size that fits the
// screen it is on.
#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

class QMainWindow;
class QSplitter;

namespace fighost {

// Sizes the window to fit its screen: three quarters of it, at most 1400 × 900 pixels.
void fitToScreen(QMainWindow* window);
// Puts the window and splitter back as they were left; answers the folder last chosen from,
// empty when none was kept.
QString restoreWindow(QMainWindow* window, QSplitter* splitter);
// Keeps the window's size, place and layout, the splitter's and the folder for the next time.
void saveWindow(const QMainWindow* window, const QSplitter* splitter, const QString& folder);
// The files last opened or saved, newest first, as kept the last time; and keeping them.
QStringList keptRecentFiles();
void keepRecentFiles(const QStringList& files);
// The posing (a PosingMode) last chosen for the figures loaded; fallback when none was kept or
// what was kept is no posing. And keeping it.
int keptPosing(int fallback);
void keepPosing(int posing);

}  // namespace fighost
