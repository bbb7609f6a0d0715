// The View menu: where the scene is seen from, how it is drawn, and how frames pose figures.
#include "host/app/window/view_menu.h"

#include <QtGui/QAction>
#include <QtGui/QKeySequence>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <iterator>
#include <utility>

#include "host/app/core/scene_view.h"
#include "host/app/window/scene_widget.h"

namespace fighost {

QAction* addViewMenu(QMenuBar* bar, SceneWidget* view,
                     std::function<void(bool on)> poseAsCaptured) {
    QMenu* menu = bar->addMenu(QStringLiteral("View"));
    const std::pair<const char*, View> kViews[] = {
        {"Front", View::kFront}, {"Side", View::kSide}, {"Top", View::kTop}, {"Iso", View::kIso}};
    int key = 1;
    for (const auto& entry : kViews) {
        View chosen = entry.second;
        menu->addAction(QString::fromLatin1(entry.first), view,
                        [view, chosen] { view->setView(chosen); })
            ->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(key++)));
    }
    menu->addAction(QStringLiteral("Fit"), view, [view] { view->fitScene(); })
        ->setShortcut(QKeySequence(QStringLiteral("F")));
    menu->addSeparator();
    const std::pair<const char*, void (SceneWidget::*)(bool)> kOptions[] = {
        {"Grid", &SceneWidget::setGrid},
        {"Axes", &SceneWidget::setAxes},
        {"Perspective", &SceneWidget::setPerspective},
        {"Follow", &SceneWidget::setFollow}};
    const bool initially[] = {view->grid(), view->axes(), view->perspective(), view->follow()};
    for (size_t i = 0; i < std::size(kOptions); ++i) {
        auto set = kOptions[i].second;
        QAction* option = menu->addAction(QString::fromLatin1(kOptions[i].first));
        option->setCheckable(true);
        option->setChecked(initially[i]);
        QObject::connect(option, &QAction::toggled, view,
                         [view, set](bool on) { (view->*set)(on); });
    }
    menu->addSeparator();
    QAction* posing = menu->addAction(QStringLiteral("Pose as captured"));
    posing->setCheckable(true);
    QObject::connect(posing, &QAction::triggered, menu, std::move(poseAsCaptured));
    return posing;
}

}  // namespace fighost
