// The Play menu and its keys, each working the window's player.
#include "host/app/window/play_keys.h"

#include <QtGui/QAction>
#include <QtGui/QKeySequence>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <algorithm>

#include "model/motion_table.h"

namespace fighost {

void addPlayMenu(QMenuBar* bar, const Player& player) {
    QMenu* play = bar->addMenu(QStringLiteral("Play"));
    // A step goes from the frame shown, the rest pose counting as the first, never below it.
    auto step = [player](int by) {
        player.setPlaying(false);
        player.showFrame(std::max(1, std::max(player.frame(), 1) + by));
    };
    auto goTo = [player](int frame) {
        player.setPlaying(false);
        player.showFrame(frame);
    };
    const struct {
        const char* text;
        Qt::Key key;
        std::function<void()> act;
    } kItems[] = {
        {"Play or Pause", Qt::Key_Space, [player] { player.setPlaying(!player.playing()); }},
        {"Next Frame", Qt::Key_Right, [step] { step(1); }},
        {"Previous Frame", Qt::Key_Left, [step] { step(-1); }},
        {"First Frame", Qt::Key_Home, [goTo] { goTo(1); }},
        {"Last Frame", Qt::Key_End, [goTo] { goTo(kLastFrame); }},
    };
    for (const auto& item : kItems) {
        QAction* action = play->addAction(QString::fromLatin1(item.text));
        action->setShortcut(QKeySequence(item.key));
        QObject::connect(action, &QAction::triggered, play, item.act);
    }
}

}  // namespace fighost
