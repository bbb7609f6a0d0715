// fighost's File menu and unsaved work, on Qt's offscreen platform over the built module: which
// figures changed, Save and Save As, the question before a changed figure is closed, and the
// module's messages shown over the sheet.
#include "host/app/window/file_menu.h"

#include <gtest/gtest.h>

#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenuBar>
#include <memory>

#include "host/app/window/main_window.h"
#include "model/figure_data.h"
#include "support/temp_dir.h"
#include "window_fixture.h"

namespace {

using fighost::MainWindow;
using testing_support::readFile;

using fighost_test::example;

class FileMenuTest : public fighost_test::WindowTest {
  protected:
    FileMenuTest() {
        // Questions are answered Cancel and confirmations no, unless a test says otherwise.
        answer_ = QMessageBox::Cancel;
        confirm_ = false;
    }
    void SetUp() override {
        WindowTest::SetUp();
        walkPath_ = folder_.write("walk.fig", readFile(example("walk.fig")));
        humanPath_ = folder_.write("human.bvh", readFile(example("human.bvh")));
    }

    QAction* fileAction(const QString& text) {
        for (QAction* item : window_->menuBar()->actions().first()->menu()->actions())
            if (item->text() == text)
                return item;
        return nullptr;
    }
    // An edit as Part Adjust makes it: a rotation stored at frame 1.
    void edit(int handle) {
        ASSERT_NE(session_.figure(handle), nullptr);
        session_.figure(handle)->motion->channels[3].values[1] += 45.0;
        window_->refresh();
    }

    std::string walkPath_, humanPath_;
};

TEST_F(FileMenuTest, MenuHoldsTheFileCommandsWithTheirKeys) {
    const std::pair<const char*, const char*> items[] = {{"Open…", "Ctrl+O"},
                                                         {"Save", "Ctrl+S"},
                                                         {"Save As…", "Ctrl+Shift+S"},
                                                         {"Close object", ""},
                                                         {"Quit", "Ctrl+Q"}};
    for (const auto& item : items) {
        QAction* action = fileAction(QString::fromUtf8(item.first));
        ASSERT_NE(action, nullptr) << item.first;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.second)));
    }
    QString filter;
    window_->setFileChooser([&](const QString&, const QString& asked) {
        filter = asked;
        return QString::fromStdString(humanPath_);
    });
    fileAction(QStringLiteral("Open…"))->trigger();
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Figures (*.bvh *.fig);;")))
        << filter.toStdString();
    ASSERT_NE(standin::objectNamed("human"), nullptr);
    EXPECT_EQ(window_->selectedObject(), standin::objectNamed("human")->handle);
}

TEST_F(FileMenuTest, SaveWritesTheFigFileItCameFromAndSaveAsTheRest) {
    int walk = window_->loadFile(QString::fromStdString(walkPath_));
    int human = window_->loadFile(QString::fromStdString(humanPath_));
    fighost::FileMenu* files = window_->fileMenu();
    EXPECT_FALSE(files->changed(walk));
    EXPECT_FALSE(window_->isWindowModified());
    // Posing is no change.
    window_->showFrame(20);
    EXPECT_FALSE(files->changed(human));
    edit(walk);
    EXPECT_TRUE(files->changed(walk));
    EXPECT_TRUE(window_->isWindowModified());
    EXPECT_TRUE(window_->findChild<QListWidget*>(QStringLiteral("objects"))
                    ->item(0)
                    ->text()
                    .startsWith(QStringLiteral("walk *")));

    std::string before = readFile(walkPath_);
    window_->selectObject(walk);
    fileAction(QStringLiteral("Save"))->trigger();
    EXPECT_TRUE(suggested_.isEmpty());
    EXPECT_NE(readFile(walkPath_), before);
    EXPECT_FALSE(files->changed(walk));
    EXPECT_EQ(window_->lastMessage(),
              QStringLiteral("Saved walk to ") + QString::fromStdString(walkPath_));

    // A capture has no .fig to go back to: Save asks where, in the folder last used.
    edit(human);
    window_->selectObject(human);
    saveAs_ = QString::fromStdString(folder_.path("human-edited"));
    fileAction(QStringLiteral("Save"))->trigger();
    ASSERT_EQ(suggested_.size(), 1);
    EXPECT_EQ(suggested_[0], QString::fromStdString(folder_.path("human.fig")));
    EXPECT_FALSE(files->changed(human));
    EXPECT_NE(readFile(folder_.path("human-edited.fig")), "");
    // ... and later saves go there without asking.
    edit(human);
    fileAction(QStringLiteral("Save"))->trigger();
    EXPECT_EQ(suggested_.size(), 1);
    EXPECT_FALSE(files->changed(human));
    // A Save As cancelled or failed saves nothing and keeps the figure changed; a failure is
    // said once, with its file.
    edit(human);
    saveAs_.clear();
    fileAction(QStringLiteral("Save As…"))->trigger();
    EXPECT_TRUE(files->changed(human));
    saveAs_ = QString::fromStdString(folder_.path("no-folder/human.fig"));
    fileAction(QStringLiteral("Save As…"))->trigger();
    EXPECT_TRUE(files->changed(human));
    QApplication::processEvents();
    EXPECT_EQ(shown_, QStringList{QStringLiteral("Unable to create Figure data file ") + saveAs_});
    // Save still goes to the file last saved.
    fileAction(QStringLiteral("Save"))->trigger();
    EXPECT_FALSE(files->changed(human));

    // A file with more frames than a figure keeps is never saved over: Save asks.
    std::string longFile =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Zrotation\n}\n"
        "MOTION\nFrames: 300\nFrame Time: 0.03\n";
    for (int frame = 0; frame < 300; ++frame)
        longFile += "1\n";
    std::string longPath = folder_.write("long.fig", longFile);
    window_->loadFile(QString::fromStdString(longPath));
    saveAs_.clear();
    suggested_.clear();
    fileAction(QStringLiteral("Save"))->trigger();
    EXPECT_EQ(suggested_, QStringList{QString::fromStdString(folder_.path("long.fig"))});
    EXPECT_EQ(readFile(longPath), longFile);
}

TEST_F(FileMenuTest, ClosingAskedAboutChangedFiguresOnly) {
    struct Case {
        QMessageBox::StandardButton answer;
        bool closes;
        bool saved;
    };
    const Case cases[] = {{QMessageBox::Cancel, false, false},
                          {QMessageBox::Discard, true, false},
                          {QMessageBox::Save, true, true}};
    for (const Case& c : cases) {
        for (bool wholeWindow : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.answer << (wholeWindow ? " window" : " object"));
            std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
            window_->show();
            int walk = window_->loadFile(QString::fromStdString(path));
            questions_.clear();
            // Nothing changed: no question.
            EXPECT_TRUE(window_->fileMenu()->settle({walk}));
            edit(walk);
            answer_ = c.answer;
            bool closed = wholeWindow ? window_->close()
                                      : (window_->deleteSelected(), session_.deleted(walk));
            EXPECT_EQ(questions_,
                      QStringList{QStringLiteral("Save the changes to walk before closing?")});
            EXPECT_EQ(closed, c.closes);
            EXPECT_EQ(readFile(path) != readFile(example("walk.fig")), c.saved);
            if (!session_.deleted(walk))
                window_->discardObject(walk);
        }
    }
}

TEST_F(FileMenuTest, FramesPlayedLookAtNoFigureAndTheNextEventDoes) {
    const int human = window_->loadFile(QString::fromStdString(humanPath_));
    ASSERT_NE(human, host::kNoObject);
    QApplication::processEvents();  // what the load left for after it
    // Changed behind the window's back, the way no part of the window changes a figure.
    session_.figure(human)->motion->channels[3].values[1] += 45.0;
    for (int frame : {5, 6, 7, 100}) {
        window_->showFrame(frame);
        QApplication::processEvents();
    }
    window_->setPlaying(true);
    EXPECT_TRUE(playsOnTo(0.5, 115));
    window_->setPlaying(false);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("human")});
    EXPECT_FALSE(window_->isWindowModified());
    // The next event that may change figures looks at them again: here a close of the window,
    // which asks about the change.
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(questions_, QStringList{QStringLiteral("Save the changes to human before closing?")});
    EXPECT_EQ(listed(), QStringList{QStringLiteral("human *")});
    EXPECT_TRUE(window_->isWindowModified());
}

TEST_F(FileMenuTest, FilesThatHoldNoFigureKeepNoObject) {
    std::string picture = folder_.write("picture.png", "\x89PNG\r\n\x1a\n");
    size_t objects = standin::scene().objects.size();
    EXPECT_EQ(window_->loadFile(QString::fromStdString(picture)), host::kNoObject);
    EXPECT_EQ(window_->findChild<QListWidget*>(QStringLiteral("objects"))->count(), 0);
    ASSERT_EQ(standin::scene().objects.size(), objects + 1);
    EXPECT_TRUE(session_.deleted(standin::scene().objects.back().handle));
    QApplication::processEvents();
    EXPECT_EQ(shown_, QStringList{QString::fromStdString(picture + " holds no figure")});
}

TEST_F(FileMenuTest, ModulesMessageShowsOverTheSheet) {
    window_->loadFile(QString::fromStdString(walkPath_));
    QWidget* sheet = nullptr;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->windowTitle() != QStringLiteral("Settings"))
            return;
        if (sheet == nullptr) {
            // What the sheet's own load says when its file is gone.
            sheet = modal;
            ErrorMessage("Unable to open BioVision data file");
            return;
        }
        if (!shown_.isEmpty())
            modal->findChild<QAbstractButton*>(QStringLiteral("2"))->click();
    });
    closer.start();
    window_->openSettings();
    closer.stop();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(shownOver_, sheet);
    EXPECT_EQ(shown_, QStringList{QStringLiteral("Unable to open BioVision data file")});
    EXPECT_EQ(window_->lastMessage(), shown_.value(0));
}

}  // namespace

namespace {

TEST_F(FileMenuTest, DeleteAsksFirstAndRecentFilesOpenAgain) {
    int walk = window_->loadFile(QString::fromStdString(walkPath_));
    int human = window_->loadFile(QString::fromStdString(humanPath_));
    ASSERT_NE(walk, host::kNoObject);
    ASSERT_NE(human, host::kNoObject);
    // An unchanged figure is deleted only once the person says yes.
    for (bool yes : {false, true}) {
        questions_.clear();
        confirm_ = yes;
        window_->selectObject(walk);
        window_->deleteSelected();
        EXPECT_EQ(questions_, QStringList{QStringLiteral("Delete walk from the scene?")});
        EXPECT_EQ(session_.deleted(walk), yes);
    }
    // Both files are in File > Recent files, newest first, and open again from there.
    QMenu* recent = nullptr;
    for (QAction* item : window_->menuBar()->actions().first()->menu()->actions())
        if (item->menu() != nullptr && item->text() == QStringLiteral("Recent files"))
            recent = item->menu();
    ASSERT_NE(recent, nullptr);
    QStringList labels;
    for (QAction* item : recent->actions())
        labels << item->text();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("&1 human.bvh"), QStringLiteral("&2 walk.fig")}));
    recent->actions().at(1)->trigger();
    const standin::SceneObject* again = standin::object(window_->selectedObject());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->name, "walk");
    EXPECT_NE(again->handle, walk);
    EXPECT_EQ(window_->fileMenu()->recentFiles().first(),
              QFileInfo(QString::fromStdString(walkPath_)).absoluteFilePath());
}

}  // namespace
