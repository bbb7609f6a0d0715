// What the window tells the person: a line in the status bar for a while, and for a failure also
// stderr and a message box over the window the person works in, shown once the module has
// returned, naming the file the message is about.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <functional>

class QStatusBar;
class QWidget;

namespace fighost {

class WindowMessages : public QObject {
  public:
    // Shows a message over a window: (parent, text).
    using Shower = std::function<void(QWidget* parent, const QString& text)>;

    // Messages in bar, boxes over window unless another window is active; beforeBox runs before
    // a box shows (playback stops).
    WindowMessages(QWidget* window, QStatusBar* bar, std::function<void()> beforeBox);

    // A message box by default; null shows none.
    void setShower(Shower shower) { shower_ = std::move(shower); }
    // The file the next messages are about, named in them; empty for none.
    void setFile(const QString& file) { file_ = file; }
    // Tells the person in the status bar.
    void tell(const QString& message);
    // Tells the person of a failure: in the status bar, on stderr and in a box.
    void report(const QString& message);
    // The last message told.
    const QString& last() const { return last_; }

  private:
    void showPending();

    QWidget* window_;
    QStatusBar* bar_;
    std::function<void()> beforeBox_;
    Shower shower_;
    QString file_;
    QStringList pending_;  // reported, not yet shown in a box
    QString last_;
};

}  // namespace fighost
