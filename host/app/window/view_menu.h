// The window's View menu: the views to look from (Front, Side, Top and Iso on Ctrl+1 to Ctrl+4),
// Fit (F), the view's options each a check mark (the ground grid, the axis triad, perspective
// projection, the camera following the selected figure), and Pose as captured.
#pragma once

#include <functional>

class QAction;
class QMenuBar;

namespace fighost {

class SceneWidget;

// Adds the View menu over view to the end of bar; poseAsCaptured runs when the person checks or
// unchecks Pose as captured. The Pose as captured item, for the window to check as the selected
// figure poses; it belongs to the menu.
QAction* addViewMenu(QMenuBar* bar, SceneWidget* view, std::function<void(bool on)> poseAsCaptured);

}  // namespace fighost
