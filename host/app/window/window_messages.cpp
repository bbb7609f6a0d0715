// The window's messages: the status bar, stderr, and boxes shown once the module has returned.
#include "host/app/window/window_messages.h"

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QStatusBar>
#include <cstdio>

namespace fighost {
namespace {

// How long a message of the module stays in the status bar, in milliseconds.
constexpr int kMessageTime = 20000;

}  // namespace

WindowMessages::WindowMessages(QWidget* window, QStatusBar* bar, std::function<void()> beforeBox)
    : QObject(window), window_(window), bar_(bar), beforeBox_(std::move(beforeBox)) {
    shower_ = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("fighost"), text);
    };
}

void WindowMessages::tell(const QString& message) {
    last_ = message;
    bar_->showMessage(message, kMessageTime);
}

void WindowMessages::report(const QString& message) {
    // Named with its file, unless it names it already.
    QString text = file_.isEmpty() || message.contains(file_)
                       ? message
                       : message + QStringLiteral(": ") + file_;
    std::fprintf(stderr, "fighost: %s\n", text.toLocal8Bit().constData());
    tell(text);
    // The box waits until the module has returned: a message box runs events of its own, and the
    // module is not to be called again while it is in the middle of a call.
    if (pending_.isEmpty())
        QTimer::singleShot(0, this, [this] { showPending(); });
    pending_ << text;
}

void WindowMessages::showPending() {
    QString text = pending_.join(QLatin1Char('\n'));
    pending_.clear();
    if (text.isEmpty() || !shower_)
        return;
    if (beforeBox_)
        beforeBox_();
    // Over the window the person works in: the module's sheet or dialog while one is open.
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr)
        parent = QApplication::activeWindow();
    if (parent == nullptr)
        parent = window_;
    shower_(parent, text);
}

}  // namespace fighost
