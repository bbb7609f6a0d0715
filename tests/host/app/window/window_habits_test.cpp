// What a person used to other programs expects of fighost's window: a file of as many frames as a
// figure keeps is saved back to, a file named without an extension opens, File > Open takes
// several files, Recent files lists every file opened, Return in the Frame field gives the view
// its keys back, and the empty window says how to begin.
#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QMimeData>
#include <QtCore/QStandardPaths>
#include <QtCore/QUrl>
#include <QtGui/QDragEnterEvent>
#include <QtGui/QDropEvent>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>

#include "host/app/window/scene_widget.h"
#include "host/app/window/window_settings.h"
#include "window_fixture.h"

namespace {

using fighost_test::example;
using testing_support::readFile;

using WindowHabitsTest = fighost_test::WindowTest;

// A figure file in the grammar fighost saves, of one limb and one channel, with frames frames.
std::string figureOf(int frames) {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n\tCHANNELS 1 Zrotation\n}\nMOTION\n"
        "Frames:     " +
        std::to_string(frames) + "\nFrame Time: 0.033333\n";
    for (int frame = 0; frame < frames; ++frame)
        text += std::to_string(frame % 90) + " \n";
    return text;
}

TEST_F(WindowHabitsTest, OnlyAFileOfMoreThanAFigureKeepsIsHeldInPart) {
    struct Case {
        int frames;
        bool whole;
    };
    const Case cases[] = {{255, true}, {256, true}, {257, false}, {3000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        std::string path =
            folder_.write("f" + std::to_string(c.frames) + ".fig", figureOf(c.frames));
        int handle = window_->loadFile(QString::fromStdString(path));
        ASSERT_NE(handle, host::kNoObject);
        EXPECT_EQ(window_->lastMessage().contains(QStringLiteral("keeps only part")), !c.whole);
        session_.figure(handle)->motion->channels[0].values[1] = 33.0;
        suggested_.clear();
        saveAs_.clear();
        action(QStringLiteral("Save"))->trigger();
        EXPECT_EQ(suggested_.isEmpty(), c.whole);
        EXPECT_EQ(readFile(path) != figureOf(c.frames), c.whole);
    }
    // A capture of 256 frames saved by fighost opens again as a file it holds whole.
    std::string capture = figureOf(256);
    std::string bvh = folder_.write("capture.bvh", capture);
    int handle = window_->loadFile(QString::fromStdString(bvh));
    suggested_.clear();
    saveAs_ = QString::fromStdString(folder_.path("capture-saved.fig"));
    action(QStringLiteral("Save"))->trigger();
    ASSERT_EQ(suggested_.size(), 1);
    window_->discardObject(handle);
    handle = window_->loadFile(saveAs_);
    ASSERT_NE(handle, host::kNoObject);
    EXPECT_FALSE(window_->lastMessage().contains(QStringLiteral("keeps only part")))
        << window_->lastMessage().toStdString();
    session_.figure(handle)->motion->channels[0].values[255] = 1.0;
    suggested_.clear();
    action(QStringLiteral("Save"))->trigger();
    EXPECT_TRUE(suggested_.isEmpty());
}

TEST_F(WindowHabitsTest, AFileWithoutAnExtensionOpensAndAFolderIsSaidToBeOne) {
    const std::string walk = folder_.write("walk", readFile(example("walk.fig")));
    int handle = window_->loadFile(QString::fromStdString(walk));
    ASSERT_NE(handle, host::kNoObject);
    EXPECT_EQ(standin::object(handle)->name, "walk");
    EXPECT_EQ(listed(), QStringList{QStringLiteral("walk")});
    EXPECT_TRUE(shown_.isEmpty()) << shown_.join('\n').toStdString();
    // A save would add ".fig": it asks where, and leaves the file opened as it was.
    session_.figure(handle)->motion->channels[3].values[1] = 5.0;
    saveAs_ = QString::fromStdString(folder_.path("walk.fig"));
    action(QStringLiteral("Save"))->trigger();
    EXPECT_EQ(suggested_, QStringList{QString::fromStdString(folder_.path("walk.fig"))});
    EXPECT_EQ(readFile(walk), readFile(example("walk.fig")));
    EXPECT_NE(readFile(folder_.path("walk.fig")), "");
    // With both there, the name given is the file opened.
    EXPECT_NE(window_->loadFile(QString::fromStdString(walk)), host::kNoObject);
    EXPECT_EQ(window_->fileMenu()->recentFiles().first(), QString::fromStdString(walk));

    const QString folder = QString::fromStdString(folder_.path("figures"));
    ASSERT_TRUE(QDir().mkdir(folder));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(folder)});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    const int objects = objectList()->count();
    QApplication::sendEvent(window_.get(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(objectList()->count(), objects);
    EXPECT_EQ(shown_, QStringList{folder + QStringLiteral(" is a folder, not a figure file")});
}

TEST_F(WindowHabitsTest, OpenTakesSeveralFilesAndRecentFilesListsEveryFileOpened) {
    QString caption;
    window_->setFilesChooser([&](const QString& asked, const QString&) {
        caption = asked;
        return QStringList{QString::fromStdString(example("walk.fig")),
                           QString::fromStdString(example("human.bvh"))};
    });
    action(QStringLiteral("Open…"))->trigger();
    EXPECT_EQ(caption, QStringLiteral("Open"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("walk"), QStringLiteral("human")}));

    // Files opened before the window reads what it kept (those of the command line) stay first.
    const QString old = QString::fromStdString(folder_.path("old.fig"));
    fighost::keepRecentFiles(
        {old, QFileInfo(QString::fromStdString(example("walk.fig"))).absoluteFilePath()});
    window_->rememberSettings();
    const QString walk = QFileInfo(QString::fromStdString(example("walk.fig"))).absoluteFilePath();
    const QString human =
        QFileInfo(QString::fromStdString(example("human.bvh"))).absoluteFilePath();
    EXPECT_EQ(window_->fileMenu()->recentFiles(), (QStringList{human, walk, old}));
    // A file dropped goes first.
    const std::string dropped = folder_.write("dropped.fig", readFile(example("walk.fig")));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    EXPECT_EQ(window_->fileMenu()->recentFiles().first(),
              QFileInfo(QString::fromStdString(dropped)).absoluteFilePath());
}

TEST_F(WindowHabitsTest, ReturnInTheFrameFieldGivesTheViewItsKeys) {
    ASSERT_NE(window_->loadFile(QString::fromStdString(example("human.bvh"))), host::kNoObject);
    QApplication::setActiveWindow(window_.get());
    auto* number = window_->findChild<QSpinBox*>(QStringLiteral("frameNumber"));
    auto* play = window_->findChild<QAbstractButton*>(QStringLiteral("play"));
    number->setFocus();
    ASSERT_TRUE(number->hasFocus());
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("42"));
    // While typing, Space is the field's.
    EXPECT_EQ(window_->frameOf(window_->selectedObject()), 42);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window_->sceneWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(play->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(play->isChecked());
}

TEST_F(WindowHabitsTest, TheEmptyWindowSaysHowToBegin) {
    auto* hint = window_->findChild<QLabel*>(QStringLiteral("startHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    for (const char* words : {"File > Open", "drop", "Build > Figure builder"})
        EXPECT_TRUE(hint->text().contains(QString::fromUtf8(words))) << words;
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    EXPECT_FALSE(hint->isVisible());
    window_->discardObject(walk);
    EXPECT_TRUE(hint->isVisible());
}

}  // namespace
