// A fighost window on Qt's offscreen platform over the built module, for the window's tests:
// questions answered and messages collected by the test, playback's clock moved on by the test,
// files in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <QtCore/QDeadlineTimer>
#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSlider>
#include <memory>
#include <string>

#include "host/app/window/file_menu.h"
#include "host/app/window/main_window.h"
#include "model/figure_data.h"
#include "support/temp_dir.h"

namespace fighost_test {

inline std::string example(const char* name) {
    return std::string(FIGURE_SOURCE_DIR) + "/examples/" + name;
}

class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        std::string error;
        ASSERT_TRUE(session_.open(FIGURE_LIBRARY_PATH, &error)) << error;
        window_ = std::make_unique<fighost::MainWindow>(&session_, 1);
        window_->setTimeSource([this] { return now_; });
        window_->setMessageShower([this](QWidget* parent, const QString& text) {
            shownOver_ = parent;
            shown_ << text;
        });
        window_->fileMenu()->setQuestion([this](const QString& text) {
            questions_ << text;
            return answer_;
        });
        window_->fileMenu()->setConfirmation([this](const QString& text) {
            questions_ << text;
            return confirm_;
        });
        window_->fileMenu()->setSaveChooser(
            [this](const QString&, const QString& suggested, const QString&) {
                suggested_ << suggested;
                return saveAs_;
            });
        window_->resize(900, 600);
        window_->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window_.reset();
        standin::setEchoErrors(true);
    }

    // The item of that text in any menu; null when there is none.
    QAction* action(const QString& text) {
        for (QAction* menu : window_->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text)
                    return item;
        return nullptr;
    }
    QListWidget* objectList() {
        return window_->findChild<QListWidget*>(QStringLiteral("objects"));
    }
    // The object list's lines, without the label each object is bound to.
    QStringList listed() {
        QStringList lines;
        for (int row = 0; row < objectList()->count(); ++row)
            lines << objectList()->item(row)->text().section(QStringLiteral("  —  "), 0, 0);
        return lines;
    }
    // What a save of the object's figure writes now.
    std::string saved(int handle) {
        FigureData* figure = session_.figure(handle);
        if (figure == nullptr)
            return "(no figure)";
        std::string path = folder_.path("saved-" + std::to_string(saves_++) + ".fig");
        EXPECT_EQ(figure->save(path.c_str()), 1);
        return testing_support::readFile(path);
    }
    QSlider* frameSlider() { return window_->findChild<QSlider*>(QStringLiteral("frameSlider")); }
    // Moves playback's clock on by seconds and lets the window's player come round to show the
    // frame now due; true once the frame bar shows frame. The wait is for the player's timer to
    // fire at all, so only a fault runs into its bound.
    bool playsOnTo(double seconds, int frame) {
        now_ += seconds;
        const QDeadlineTimer bound(10000);
        while (frameSlider()->value() != frame && !bound.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return frameSlider()->value() == frame;
    }

    testing_support::TempDir folder_;
    fighost::ModuleSession session_;
    std::unique_ptr<fighost::MainWindow> window_;
    QMessageBox::StandardButton answer_ = QMessageBox::Discard;  // to Save / Discard / Cancel
    bool confirm_ = true;                                        // to a step asked to be confirmed
    QString saveAs_;
    QStringList questions_, suggested_, shown_;
    QWidget* shownOver_ = nullptr;  // what the last message was shown over
    double now_ = 0;                // seconds on playback's clock
    int saves_ = 0;
};

}  // namespace fighost_test
