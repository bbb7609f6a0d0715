// Undo and Redo in fighost's window, on Qt's offscreen platform over the built module: every step
// taken back and done again gives, byte for byte, what a save wrote before; the object comes back
// with its name, style, frame and associated objects; the unsaved mark follows.
#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QAbstractButton>
#include <cstdlib>

#include "host/app/window/scene_widget.h"
#include "window_fixture.h"

namespace {

using fighost_test::example;
using testing_support::readFile;

class UndoTest : public fighost_test::WindowTest {
  protected:
    QString undoText() { return menuItem(0)->text(); }
    QString redoText() { return menuItem(1)->text(); }
    // Items of the Edit menu: 0 Undo, 1 Redo.
    QAction* menuItem(int index) {
        for (QAction* menu : window_->menuBar()->actions())
            if (menu->text() == QStringLiteral("Edit"))
                return menu->menu()->actions().at(index);
        return nullptr;
    }
    const standin::SceneObject* selected() { return standin::object(window_->selectedObject()); }
    // A Settings session in the module's sheet during which the figure's motion changes as Part
    // Adjust changes it; ok closes the sheet with OK, else with Cancel.
    void settingsSession(bool edits) {
        QTimer closer;
        closer.setInterval(20);
        const int handle = window_->selectedObject();
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal->windowTitle() != QStringLiteral("Settings"))
                return;
            if (edits)
                session_.figure(handle)->motion->channels[3].values[1] += 45.0;
            modal->findChild<QAbstractButton*>(edits ? QStringLiteral("1") : QStringLiteral("2"))
                ->click();
        });
        closer.start();
        window_->openSettings();
        closer.stop();
    }
};

TEST_F(UndoTest, ASettingsSessionIsUndoneAndRedoneToTheByte) {
    std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
    ASSERT_NE(window_->loadFile(QString::fromStdString(path)), host::kNoObject);
    EXPECT_EQ(undoText(), QStringLiteral("Undo"));
    EXPECT_FALSE(menuItem(0)->isEnabled());
    EXPECT_EQ(menuItem(0)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(menuItem(1)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    window_->showFrame(2);
    const std::string loaded = saved(window_->selectedObject());

    // A session that changes nothing is no step.
    settingsSession(false);
    EXPECT_EQ(window_->undoStack().size(), 0u);
    settingsSession(true);
    ASSERT_EQ(undoText(), QStringLiteral("Undo Settings of walk"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("walk *")});
    const std::string changed = saved(window_->selectedObject());
    ASSERT_NE(changed, loaded);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const int before = window_->selectedObject();
        menuItem(0)->trigger();
        // Made again from the snapshot: a new object, as it was, and no longer unsaved.
        ASSERT_NE(selected(), nullptr);
        EXPECT_NE(selected()->handle, before);
        EXPECT_EQ(selected()->name, "walk");
        EXPECT_EQ(saved(selected()->handle), loaded);
        EXPECT_EQ(window_->frameOf(selected()->handle), 2);
        EXPECT_EQ(listed(), QStringList{QStringLiteral("walk")});
        EXPECT_FALSE(window_->isWindowModified());
        EXPECT_EQ(undoText(), QStringLiteral("Undo"));
        EXPECT_EQ(redoText(), QStringLiteral("Redo Settings of walk"));
        menuItem(1)->trigger();
        EXPECT_EQ(saved(selected()->handle), changed);
        EXPECT_EQ(listed(), QStringList{QStringLiteral("walk *")});
        EXPECT_TRUE(window_->isWindowModified());
        EXPECT_EQ(undoText(), QStringLiteral("Undo Settings of walk"));
        EXPECT_FALSE(menuItem(1)->isEnabled());
    }
    EXPECT_EQ(window_->undoStack().size(), 1u);
}

TEST_F(UndoTest, DeleteAndCloseAreUndone) {
    struct Case {
        const char* what;
        bool changed;  // changed since loaded, the change discarded when asked
    };
    const Case cases[] = {{"Delete", false}, {"Close", false}, {"Delete", true}, {"Close", true}};
    int number = 0;
    for (const Case& c : cases) {
        const std::string name = "walk" + std::to_string(number++);
        SCOPED_TRACE(name + " " + c.what);
        std::string path = folder_.write(name + ".fig", readFile(example("walk.fig")));
        int handle = window_->loadFile(QString::fromStdString(path));
        ASSERT_NE(handle, host::kNoObject);
        window_->showFrame(3);
        if (c.changed) {
            session_.figure(handle)->motion->channels[4].values[2] = -30.0;
            window_->refresh();
        }
        const std::string before = saved(handle);
        const QString mark = c.changed ? QStringLiteral(" *") : QString();
        if (std::string(c.what) == "Delete")
            window_->deleteSelected();
        else
            action(QStringLiteral("Close object"))->trigger();
        ASSERT_TRUE(session_.deleted(handle));
        ASSERT_EQ(undoText(), QStringLiteral("Undo %1 %2").arg(c.what).arg(name.c_str()));
        for (int round = 0; round < 2; ++round) {
            menuItem(0)->trigger();
            ASSERT_NE(selected(), nullptr);
            EXPECT_EQ(selected()->name, name);
            EXPECT_EQ(saved(selected()->handle), before);
            EXPECT_EQ(window_->frameOf(selected()->handle), 3);
            EXPECT_TRUE(listed().contains(QString::fromStdString(name) + mark))
                << listed().join('|').toStdString();
            const int back = selected()->handle;
            menuItem(1)->trigger();
            EXPECT_TRUE(session_.deleted(back));
            EXPECT_FALSE(listed().join(' ').contains(QString::fromStdString(name)));
        }
        // Saved again from the file it came from: Save goes back there.
        menuItem(0)->trigger();
        EXPECT_TRUE(suggested_.isEmpty());
    }
}

TEST_F(UndoTest, ThePosingSwitchIsUndoneAndRedone) {
    std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
    window_->setPosing(kPosingWorldAxes);
    ASSERT_NE(window_->loadFile(QString::fromStdString(path)), host::kNoObject);
    window_->showFrame(2);
    const std::string loaded = saved(window_->selectedObject());
    window_->setPosingOfSelected(kPosingWorldAxes);
    EXPECT_EQ(window_->undoStack().size(), 0u) << "choosing the posing it has is no step";

    window_->setPosingOfSelected(kPosingCaptured);
    ASSERT_EQ(undoText(), QStringLiteral("Undo Posing of walk"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        menuItem(0)->trigger();
        ASSERT_NE(selected(), nullptr);
        EXPECT_EQ(session_.figure(selected()->handle)->posing, kPosingWorldAxes);
        EXPECT_EQ(window_->frameOf(selected()->handle), 2);
        EXPECT_EQ(saved(selected()->handle), loaded);
        menuItem(1)->trigger();
        ASSERT_NE(selected(), nullptr);
        EXPECT_EQ(session_.figure(selected()->handle)->posing, kPosingCaptured);
        EXPECT_EQ(saved(selected()->handle), loaded) << "the posing is not in the file";
    }
}

// The share of the scene view's pixels whose hue is near that of colour (shaded faces keep it).
double shareOfHue(const QImage& image, const QColor& colour) {
    int near = 0, coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor seen = image.pixelColor(x, y);
            if (seen.hsvSaturation() < 80)
                continue;
            ++coloured;
            if (std::abs(seen.hsvHue() - colour.hsvHue()) < 12)
                ++near;
        }
    return coloured == 0 ? 0.0 : static_cast<double>(near) / coloured;
}

TEST_F(UndoTest, AnObjectMadeAgainKeepsItsColour) {
    std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
    ASSERT_NE(window_->loadFile(QString::fromStdString(path)), host::kNoObject);
    const QColor steelBlue(70, 130, 180), terracotta(196, 98, 52);
    auto view = [&] { return window_->sceneWidget()->grab().toImage(); };
    ASSERT_GT(shareOfHue(view(), steelBlue), 0.9);
    window_->deleteSelected();
    menuItem(0)->trigger();  // made again as a new object, the old one gone
    ASSERT_NE(selected(), nullptr);
    EXPECT_GT(shareOfHue(view(), steelBlue), 0.9);
    EXPECT_LT(shareOfHue(view(), terracotta), 0.05);
}

TEST_F(UndoTest, TheUnsavedMarkFollowsTheSavedState) {
    std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
    int walk = window_->loadFile(QString::fromStdString(path));
    auto turn = [&](double degrees) {
        return window_->recordChange(
            QStringLiteral("Settings of %1"), window_->selectedObject(), [&] {
                FigureData* figure = session_.figure(window_->selectedObject());
                figure->motion->channels[3].values[2] += degrees;
            });
    };
    ASSERT_TRUE(turn(10));
    ASSERT_TRUE(turn(20));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("walk *")});
    action(QStringLiteral("Save"))->trigger();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("walk")});
    const std::string onDisk = readFile(path);
    // Steps away from the file, either way, are unsaved; back at it, not.
    struct Step {
        bool undo;
        bool unsaved;
    };
    const Step steps[] = {{true, true}, {true, true}, {false, true}, {false, false}};
    for (const Step& step : steps) {
        ASSERT_TRUE(step.undo ? window_->undo() : window_->redo());
        EXPECT_EQ(listed(),
                  QStringList{step.unsaved ? QStringLiteral("walk *") : QStringLiteral("walk")});
        EXPECT_EQ(window_->isWindowModified(), step.unsaved);
    }
    EXPECT_EQ(saved(window_->selectedObject()), onDisk);
    EXPECT_NE(window_->selectedObject(), walk);
    EXPECT_FALSE(window_->redo());
    // A new step leaves nothing to redo.
    ASSERT_TRUE(window_->undo());
    ASSERT_TRUE(turn(5));
    EXPECT_FALSE(window_->redo());
    EXPECT_EQ(redoText(), QStringLiteral("Redo"));
}

TEST_F(UndoTest, StyleAndAssociatedObjectsComeBack) {
    const std::string box = folder_.write(
        "box.fig", "HIERARCHY\nROOT Box\n{\n OFFSET 0 0 0\n End Site\n {\n  OFFSET 1 0 0\n }\n}\n");
    const std::string carrier = folder_.write(
        "carrier.fig",
        "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition "
        "Zrotation Xrotation Yrotation\n JOINT Arm\n {\n  OFFSET 0 10 0\n  CHANNELS 3 Zrotation "
        "Xrotation Yrotation\n  MAP box\n  End Site\n  {\n   OFFSET 0 10 0\n  }\n }\n}\n"
        "MOTION\nFrames: 4\nFrame Time: 0.1\n0 0 0 0 0 0 0 0 0\n5 0 0 0 0 0 30 0 0\n"
        "10 0 0 0 0 0 60 0 0\n15 0 0 0 0 0 90 0 0\n");
    int boxHandle = window_->loadFile(QString::fromStdString(box));
    int carrierHandle = window_->loadFile(QString::fromStdString(carrier));
    ASSERT_NE(boxHandle, host::kNoObject);
    ASSERT_NE(carrierHandle, host::kNoObject);
    // A figure with associated objects loads as lines; the person drew it as balloons.
    EXPECT_EQ(session_.figure(carrierHandle)->segmentStyle, kSegmentLines);
    ASSERT_TRUE(window_->recordChange(QStringLiteral("Settings of %1"), carrierHandle, [&] {
        session_.figure(carrierHandle)->segmentStyle = kSegmentBalloons;
    }));
    window_->selectObject(carrierHandle);
    window_->showFrame(3);
    const PiPoint atThree = standin::object(boxHandle)->position;
    window_->showFrame(2);
    const PiPoint atTwo = standin::object(boxHandle)->position;
    ASSERT_NE(atThree.x, atTwo.x);

    // The box deleted and brought back is a new object; the carrier moves that one.
    window_->selectObject(boxHandle);
    window_->deleteSelected();
    ASSERT_TRUE(window_->undo());
    const int newBox = window_->selectedObject();
    ASSERT_NE(newBox, boxHandle);
    EXPECT_EQ(standin::object(newBox)->name, "box");
    window_->selectObject(carrierHandle);
    window_->showFrame(3);
    EXPECT_FLOAT_EQ(standin::object(newBox)->position.x, atThree.x);
    EXPECT_FLOAT_EQ(standin::object(newBox)->position.y, atThree.y);

    // The carrier deleted and brought back keeps its balloons and follows the live box.
    window_->deleteSelected();
    ASSERT_TRUE(window_->undo());
    const int newCarrier = window_->selectedObject();
    ASSERT_NE(newCarrier, carrierHandle);
    EXPECT_EQ(standin::object(newCarrier)->name, "carrier");
    EXPECT_EQ(session_.figure(newCarrier)->segmentStyle, kSegmentBalloons);
    EXPECT_EQ(window_->frameOf(newCarrier), 3);
    window_->showFrame(2);
    EXPECT_FLOAT_EQ(standin::object(newBox)->position.x, atTwo.x);
    EXPECT_EQ(undoText(), QStringLiteral("Undo Settings of carrier"));
    // ... and its style is a step of its own.
    ASSERT_TRUE(window_->undo());
    EXPECT_EQ(session_.figure(window_->selectedObject())->segmentStyle, kSegmentLines);
}

TEST_F(UndoTest, NothingIsLostWhenASnapshotCannotBeMade) {
    std::string path = folder_.write("walk.fig", readFile(example("walk.fig")));
    int walk = window_->loadFile(QString::fromStdString(path));
    auto edit = [&] { session_.figure(walk)->motion->channels[3].values[1] = 12.0; };
    ASSERT_TRUE(window_->recordChange(QStringLiteral("Settings of %1"), walk, edit));
    const std::string changed = saved(walk);
    const char* kept = std::getenv("TMPDIR");
    const std::string tmp = kept != nullptr ? kept : "";
    setenv("TMPDIR", folder_.path("no-such-folder").c_str(), 1);
    // Undo cannot make the object again: it stays as it is, and the person is told.
    EXPECT_FALSE(window_->undo());
    EXPECT_EQ(window_->selectedObject(), walk);
    EXPECT_EQ(saved(walk), changed);
    EXPECT_FALSE(window_->undoStack().canUndo());
    QApplication::processEvents();
    // A change that cannot be kept is still made, and said to be beyond Undo.
    window_->deleteSelected();
    EXPECT_TRUE(session_.deleted(walk));
    EXPECT_FALSE(window_->undoStack().canUndo());
    if (tmp.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", tmp.c_str(), 1);
    QApplication::processEvents();
    ASSERT_EQ(shown_.size(), 2);
    EXPECT_TRUE(shown_[0].startsWith(QStringLiteral("cannot undo Settings of walk: ")))
        << shown_[0].toStdString();
    EXPECT_TRUE(shown_[1].startsWith(QStringLiteral("Delete walk cannot be undone: ")))
        << shown_[1].toStdString();
}

}  // namespace
