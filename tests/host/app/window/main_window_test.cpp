// fighost's window on Qt's offscreen platform, over the built module: its menus, loading through
// a Load command, the frame controls, deleting an object, and the module's messages.
#include "host/app/window/main_window.h"
#include "host/app/window/command_menus.h"
#include "host/app/window/file_loading.h"
#include "host/app/window/file_menu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QtCore/QMimeData>
#include <QtCore/QSettings>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QDropEvent>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTreeWidget>
#include <cmath>
#include <cstring>
#include <memory>

#include "figure_pixels.h"
#include "host/app/window/scene_widget.h"
#include "host/app/window/window_settings.h"
#include "model/figure_data.h"
#include "plugin/host_protocol.h"
#include "support/temp_dir.h"
#include "window_fixture.h"

namespace {

using fighost_test::figurePixels;

using fighost::MainWindow;

using fighost_test::example;

class MainWindowTest : public fighost_test::WindowTest {
  protected:
    QImage view() { return window_->sceneWidget()->grab().toImage(); }
};

TEST(MainWindowWords, CategoriesAndFiltersReadAsAPersonReadsThem) {
    const std::pair<const char*, const char*> titles[] = {{"BUILD", "Build"}, {"UTIL", "Utilities"},
                                                          {"LOAD", "Load"},   {"SAVE", "Save"},
                                                          {"EXTRA", "Extra"}, {"", ""}};
    for (const auto& title : titles)
        EXPECT_EQ(fighost::categoryTitle(title.first), QString::fromLatin1(title.second));
    const std::pair<const char*, const char*> filters[] = {
        {"BioVision (*.bvh) |*.bvh||", "BioVision (*.bvh);;All files (*)"},
        {"Figures|*.fig;*.bvh|Text|*.txt||", "Figures (*.fig *.bvh);;Text (*.txt);;All files (*)"},
        {"", "All files (*)"},
        {"no bars", "All files (*)"}};
    for (const auto& filter : filters)
        EXPECT_EQ(fighost::dialogFilter(filter.first), QString::fromLatin1(filter.second));
}

TEST_F(MainWindowTest, AFilesNameChoosesTheLoadCommand) {
    // The first Load command whose filter takes the name, else the Figure loader, as the command
    // line chooses by the extension.
    const std::string bvh = session_.entryNameFor(fighost::kBioVisionLoader);
    const std::string fig = session_.entryNameFor(fighost::kFigureLoader);
    ASSERT_FALSE(bvh.empty());
    ASSERT_FALSE(fig.empty());
    ASSERT_NE(bvh, fig);
    const std::pair<const char*, const std::string*> cases[] = {
        {"walk.fig", &fig},  {"capture/human.bvh", &bvh}, {"HUMAN.BVH", &bvh},
        {"Human.Bvh", &bvh}, {"walk.FIG", &fig},          {"walk", &fig},
        {"notes.txt", &fig}, {"take.bvh.fig", &fig},      {"take.fig.bvh", &bvh},
        {"bvh", &fig},       {"folder.bvh/walk", &fig},   {"", &fig}};
    for (const auto& each : cases)
        EXPECT_EQ(fighost::loadEntryFor(&session_, each.first), *each.second) << each.first;

    // A capture named in capitals opens as the capture it is.
    testing_support::TempDir folder;
    const std::string capital =
        folder.write("HUMAN.BVH", testing_support::readFile(example("human.bvh")));
    const int human = window_->loadFile(QString::fromStdString(capital));
    ASSERT_NE(human, host::kNoObject) << window_->lastMessage().toStdString();
    const FigureData* figure = session_.figure(human);
    ASSERT_NE(figure, nullptr);
    ASSERT_NE(figure->motion, nullptr);
    EXPECT_GT(figure->motion->frameCount, 1u);
}

TEST_F(MainWindowTest, MenusFollowTheRegisteredCommandTable) {
    // The module registers Build and Utilities "Figure builder", the two loaders and the saver;
    // each category is a menu, in the order the table first names it, and a loader asks for a
    // file.
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"Build", {"Figure builder"}},
        {"Utilities", {"Figure builder"}},
        {"Load", {"BioVision loader…", "Figure loader…"}},
        {"Save", {"Figure saver"}},
    };
    std::vector<std::pair<QString, QStringList>> shown;
    for (QAction* menu : window_->menuBar()->actions()) {
        QStringList labels;
        for (QAction* item : menu->menu()->actions())
            labels << item->text();
        shown.push_back({menu->text(), labels});
    }
    for (const auto& menu : expected) {
        auto found = std::find_if(shown.begin(), shown.end(),
                                  [&](const auto& each) { return each.first == menu.first; });
        ASSERT_NE(found, shown.end()) << menu.first.toStdString();
        EXPECT_EQ(found->second, menu.second) << menu.first.toStdString();
    }
    // The window's own File menu comes first.
    EXPECT_EQ(shown.front().first, QStringLiteral("File"));
    // The command menus keep the table's order.
    std::vector<QString> order;
    for (const auto& menu : shown)
        for (const auto& each : expected)
            if (menu.first == each.first)
                order.push_back(menu.first);
    EXPECT_EQ(order, (std::vector<QString>{"Build", "Utilities", "Load", "Save"}));
}

TEST_F(MainWindowTest, LoadCommandLoadsTheChosenFileAndTheViewPaintsIt) {
    EXPECT_EQ(figurePixels(view()), 0);
    QString askedFilter;
    window_->setFileChooser([&](const QString&, const QString& filter) {
        askedFilter = filter;
        return QString::fromStdString(example("walk.fig"));
    });
    QAction* load = action(QStringLiteral("Figure loader…"));
    ASSERT_NE(load, nullptr);
    load->trigger();
    EXPECT_EQ(askedFilter, QStringLiteral("Figure File (*.fig);;All files (*)"));
    const standin::SceneObject* walk = standin::objectNamed("walk");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(window_->selectedObject(), walk->handle);
    EXPECT_NE(session_.figure(walk->handle), nullptr);
    QApplication::processEvents();
    EXPECT_GT(figurePixels(view()), 500);
    EXPECT_TRUE(window_->findChild<QListWidget*>(QStringLiteral("objects"))
                    ->item(0)
                    ->text()
                    .startsWith(QStringLiteral("walk")));

    // A dialog closed without a choice loads nothing.
    window_->setFileChooser([](const QString&, const QString&) { return QString(); });
    size_t objects = standin::scene().objects.size();
    action(QStringLiteral("BioVision loader…"))->trigger();
    EXPECT_EQ(standin::scene().objects.size(), objects);
}

TEST_F(MainWindowTest, FrameControlsPoseTheSelectedObject) {
    int handle = window_->loadFile(QString::fromStdString(example("human.bvh")));
    ASSERT_NE(handle, host::kNoObject);
    auto* slider = window_->findChild<QSlider*>(QStringLiteral("frameSlider"));
    auto* number = window_->findChild<QSpinBox*>(QStringLiteral("frameNumber"));
    ASSERT_NE(slider, nullptr);
    // Frames 1 to the last one stored (the capture stores 150, from 0).
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 149);
    EXPECT_EQ(number->maximum(), 149);

    int redraws = standin::scene().redrawCount;
    slider->setValue(10);
    QApplication::processEvents();
    QImage early = view();
    slider->setValue(100);
    QApplication::processEvents();
    QImage late = view();
    EXPECT_GE(standin::scene().redrawCount, redraws + 2);
    EXPECT_EQ(number->value(), 100);
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("objectStatus"))->text(),
              QStringLiteral("human  ·  25 limbs, 63 channels, 150 frames  ·  frame 100"));
    EXPECT_NE(early, late);
    EXPECT_GT(figurePixels(late), 500);
    number->setValue(10);
    QApplication::processEvents();
    EXPECT_EQ(slider->value(), 10);
    EXPECT_EQ(view(), early);

    // Playing moves on by itself, 30 frames a second: 12 frames in 0.4 s.
    window_->setPlaying(true);
    EXPECT_TRUE(playsOnTo(0.4, 22)) << slider->value();
    window_->setPlaying(false);
}

TEST_F(MainWindowTest, PlaysAtTheFilesRateAndTheChosenSpeed) {
    // A 120 Hz capture of 256 frames, the root walking along X.
    testing_support::TempDir folder;
    std::string capture =
        "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition "
        "Zrotation Xrotation Yrotation\n End Site\n {\n  OFFSET 0 5 0\n }\n}\nMOTION\n"
        "Frames: 256\nFrame Time: 0.0083333\n";
    for (int frame = 0; frame < 256; ++frame)
        capture += std::to_string(frame * 0.1) + " 0 0 0 0 5\n";
    ASSERT_NE(window_->loadFile(QString::fromStdString(folder.write("fast.bvh", capture))),
              host::kNoObject);
    auto* slider = window_->findChild<QSlider*>(QStringLiteral("frameSlider"));
    auto* speed = window_->findChild<QComboBox*>(QStringLiteral("speed"));
    auto* time = window_->findChild<QLabel*>(QStringLiteral("frameTime"));
    ASSERT_NE(speed, nullptr);
    ASSERT_NE(time, nullptr);
    slider->setValue(120);
    EXPECT_EQ(time->text().trimmed(), QStringLiteral("1.00 s"));

    struct Case {
        QString speed;
        double seconds;
        int frame;  // shown after that long, from frame 1
    };
    const Case cases[] = {{QStringLiteral("1×"), 0.5, 61},
                          {QStringLiteral("¼×"), 0.5, 16},
                          {QStringLiteral("4×"), 0.25, 121},
                          {QStringLiteral("1×"), 2.5, 46}};  // round from 255 back to 1
    for (const Case& c : cases) {
        speed->setCurrentIndex(speed->findText(c.speed));
        slider->setValue(1);
        window_->setPlaying(true);
        EXPECT_TRUE(playsOnTo(c.seconds, c.frame))
            << c.speed.toStdString() << " " << slider->value();
        window_->setPlaying(false);
    }
    // A change of speed while playing goes on from the frame shown.
    speed->setCurrentIndex(speed->findText(QStringLiteral("1×")));
    slider->setValue(1);
    window_->setPlaying(true);
    EXPECT_TRUE(playsOnTo(0.25, 31));
    speed->setCurrentIndex(speed->findText(QStringLiteral("2×")));
    EXPECT_TRUE(playsOnTo(0.25, 91)) << slider->value();
    window_->setPlaying(false);
}

TEST_F(MainWindowTest, EachObjectKeepsItsOwnFrame) {
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    int human = window_->loadFile(QString::fromStdString(example("human.bvh")));
    auto* slider = window_->findChild<QSlider*>(QStringLiteral("frameSlider"));
    auto* status = window_->findChild<QLabel*>(QStringLiteral("objectStatus"));
    slider->setValue(100);
    window_->selectObject(walk);
    EXPECT_EQ(slider->maximum(), 3);
    slider->setValue(2);
    EXPECT_EQ(status->text(),
              QStringLiteral("walk  ·  11 limbs, 27 channels, 4 frames  ·  frame 2"));
    // Choosing an object again shows where it stands; nothing is posed anew.
    int redraws = standin::scene().redrawCount;
    window_->selectObject(human);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(window_->frameOf(walk), 2);
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("frame 100")));
    EXPECT_EQ(standin::scene().redrawCount, redraws);
}

// Where the view painted in a colour for which wanted is true: the mean of those pixels, and how
// many there were.
template <typename Wanted>
std::pair<QPointF, int> paintedAt(const QImage& image, Wanted wanted) {
    double x = 0, y = 0;
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if (wanted(image.pixelColor(column, row))) {
                x += column;
                y += row;
                ++count;
            }
    return {count > 0 ? QPointF(x / count, y / count) : QPointF(), count};
}

TEST_F(MainWindowTest, KeysPlayStepAndJumpAsInPlayers) {
    ASSERT_NE(window_->loadFile(QString::fromStdString(example("human.bvh"))), host::kNoObject);
    QApplication::setActiveWindow(window_.get());
    window_->sceneWidget()->setFocus();
    auto* slider = window_->findChild<QSlider*>(QStringLiteral("frameSlider"));
    auto* play = window_->findChild<QAbstractButton*>(QStringLiteral("play"));
    struct Case {
        Qt::Key key;
        int frame;
    };
    const Case cases[] = {{Qt::Key_End, 149}, {Qt::Key_Home, 1}, {Qt::Key_Right, 2},
                          {Qt::Key_Right, 3}, {Qt::Key_Left, 2}, {Qt::Key_Left, 1},
                          {Qt::Key_Left, 1}};
    for (const Case& c : cases) {
        QTest::keyClick(window_->sceneWidget(), c.key);
        EXPECT_EQ(slider->value(), c.frame) << c.key;
        EXPECT_EQ(window_->frameOf(window_->selectedObject()), c.frame) << c.key;
    }
    QTest::keyClick(window_->sceneWidget(), Qt::Key_Space);
    EXPECT_TRUE(play->isChecked());
    EXPECT_TRUE(playsOnTo(0.2, 7)) << slider->value();
    QTest::keyClick(window_->sceneWidget(), Qt::Key_Space);
    EXPECT_FALSE(play->isChecked());
    // Stopped, the frame stays where it is however long passes.
    now_ += 1;
    QApplication::processEvents();
    EXPECT_EQ(slider->value(), 7);
}

TEST_F(MainWindowTest, AClickSelectsTheObjectUnderItAndTheFrameBarFollows) {
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    int human = window_->loadFile(QString::fromStdString(example("human.bvh")));
    ASSERT_EQ(window_->selectedObject(), human);
    window_->showFrame(60);
    window_->sceneWidget()->setAxes(false);
    QApplication::processEvents();
    // The walk, first in the scene, is painted in blue; the selected human in its own colour.
    auto blue = [](const QColor& c) { return c.blue() > c.red() + 30 && c.blue() > c.green(); };
    QImage before = view();
    auto [walkAt, walkPixels] = paintedAt(before, blue);
    ASSERT_GT(walkPixels, 50);
    // Click where a blue pixel is, near the middle of them.
    QPoint target = walkAt.toPoint();
    for (int radius = 0; radius < 200 && !blue(before.pixelColor(target)); ++radius)
        for (int dx = -radius; dx <= radius; ++dx)
            if (blue(before.pixelColor(walkAt.toPoint() + QPoint(dx, radius))))
                target = walkAt.toPoint() + QPoint(dx, radius);
    QTest::mouseClick(window_->sceneWidget(), Qt::LeftButton, Qt::NoModifier, target);
    EXPECT_EQ(window_->selectedObject(), walk);
    auto* slider = window_->findChild<QSlider*>(QStringLiteral("frameSlider"));
    EXPECT_EQ(slider->maximum(), 3);
    EXPECT_TRUE(window_->findChild<QLabel*>(QStringLiteral("objectStatus"))
                    ->text()
                    .startsWith(QStringLiteral("walk  ·  11 limbs")));
    // The selected object is drawn strong, the other pale: more of the walk's blue now shows.
    QApplication::processEvents();
    auto strongBlue = [](const QColor& c) { return c.blue() > c.red() + 60 && c.value() < 200; };
    EXPECT_GT(paintedAt(view(), strongBlue).second, paintedAt(before, strongBlue).second);
    // A click on nothing leaves the selection as it was.
    QTest::mouseClick(window_->sceneWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(window_->selectedObject(), walk);
    EXPECT_EQ(window_->frameOf(human), 60);
}

TEST_F(MainWindowTest, DroppedFilesOpen) {
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(example("walk.fig"))),
                   QUrl::fromLocalFile(QString::fromStdString(example("human.bvh")))});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    EXPECT_NE(standin::objectNamed("walk"), nullptr);
    EXPECT_NE(standin::objectNamed("human"), nullptr);
    EXPECT_EQ(window_->findChild<QListWidget*>(QStringLiteral("objects"))->count(), 2);
}

TEST_F(MainWindowTest, TheFigureStaysInSightOverItsWholeMotion) {
    ASSERT_NE(window_->loadFile(QString::fromStdString(example("human.bvh"))), host::kNoObject);
    auto figure = [](const QColor& c) { return c.blue() > c.red() + 50 && c.blue() > c.green(); };
    struct Case {
        bool follow;
        double mostShift;  // pixels the figure's middle may move from the first frame to the last
        double leastShift;
    };
    const Case cases[] = {{false, 10000, 40}, {true, 25, 0}};
    for (const Case& c : cases) {
        // From the side the walk along Z crosses the view.
        window_->sceneWidget()->setFollow(c.follow);
        window_->showFrame(1);
        window_->sceneWidget()->setView(fighost::View::kSide);
        QApplication::processEvents();
        auto [first, firstPixels] = paintedAt(view(), figure);
        window_->showFrame(149);
        QApplication::processEvents();
        auto [last, lastPixels] = paintedAt(view(), figure);
        // Fitted over the whole walk, the figure is in the view at both ends without a new fit.
        EXPECT_GT(firstPixels, 500) << c.follow;
        EXPECT_GT(lastPixels, 500) << c.follow;
        double shift = std::hypot(last.x() - first.x(), last.y() - first.y());
        EXPECT_LE(shift, c.mostShift) << c.follow;
        EXPECT_GE(shift, c.leastShift) << c.follow;
    }
}

TEST_F(MainWindowTest, TurningTheViewTurnsItAboutTheSelectedFigure) {
    ASSERT_NE(window_->loadFile(QString::fromStdString(example("human.bvh"))), host::kNoObject);
    window_->showFrame(140);  // near the end of the walk, away from the middle of its travel
    window_->sceneWidget()->setGrid(false);
    window_->sceneWidget()->setAxes(false);
    QApplication::processEvents();
    auto figure = [](const QColor& c) { return c.blue() > c.red() + 50 && c.blue() > c.green(); };
    auto [before, pixels] = paintedAt(view(), figure);
    ASSERT_GT(pixels, 500);
    QWidget* scene = window_->sceneWidget();
    QTest::mousePress(scene, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    for (int x = 110; x <= 260; x += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 100), scene->mapToGlobal(QPointF(x, 100)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(scene, &move);
    }
    QTest::mouseRelease(scene, Qt::LeftButton, Qt::NoModifier, QPoint(260, 100));
    QApplication::processEvents();
    EXPECT_NE(window_->sceneWidget()->camera().yaw, 0);
    auto [after, stillPixels] = paintedAt(view(), figure);
    EXPECT_GT(stillPixels, 500);
    // Turned 75 degrees about its own middle, the figure stays about where it stood.
    EXPECT_LT(std::hypot(after.x() - before.x(), after.y() - before.y()), 40);
}

TEST_F(MainWindowTest, DeletingAnObjectDiscardsItsFigureOnce) {
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    int human = window_->loadFile(QString::fromStdString(example("human.bvh")));
    ASSERT_NE(walk, host::kNoObject);
    ASSERT_NE(human, host::kNoObject);
    window_->selectObject(walk);
    window_->deleteSelected();
    EXPECT_TRUE(session_.deleted(walk));
    EXPECT_EQ(session_.figure(walk), nullptr);
    EXPECT_NE(session_.figure(human), nullptr);
    auto* list = window_->findChild<QListWidget*>(QStringLiteral("objects"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(window_->selectedObject(), human);
    // Deleting again does nothing; at the end the session discards only the human's figure,
    // which the sanitizers hold to once each.
    window_->selectObject(walk);
    session_.discard(walk);
    window_->deleteSelected();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(window_->selectedObject(), host::kNoObject);
    window_->sceneWidget()->fitScene();
    EXPECT_EQ(figurePixels(view()), 0);
}

TEST_F(MainWindowTest, TheStatusSaysWhatTheModuleDidNotKeep) {
    testing_support::TempDir folder;
    std::string capture =
        "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition "
        "Zrotation Xrotation Yrotation\n JOINT AVeryLongChestName\n {\n  OFFSET 0 5 0\n  "
        "End Site\n  {\n   OFFSET 0 5 0\n  }\n }\n}\nMOTION\nFrames: 300\nFrame Time: 0.01\n";
    for (int frame = 0; frame < 300; ++frame)
        capture += "0 0 0 0 0 " + std::to_string(frame) + "\n";
    ASSERT_NE(window_->loadFile(QString::fromStdString(folder.write("long.bvh", capture))),
              host::kNoObject);
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("objectStatus"))->text(),
              QStringLiteral("long  ·  3 limbs, 6 channels, 256 frames  ·  frames 256 of 300 "
                             "kept, 1 of 2 limb names cut to 15 characters  ·  frame 1"));
}

TEST_F(MainWindowTest, ModulesMessagesReachThePerson) {
    testing_support::TempDir folder;
    window_->setFileChooser([&](const QString&, const QString&) {
        return QString::fromStdString(folder.path("none.fig"));
    });
    QWidget* shownOver = nullptr;
    QString shown;
    window_->setMessageShower([&](QWidget* parent, const QString& text) {
        shownOver = parent;
        shown = text;
    });
    action(QStringLiteral("Figure loader…"))->trigger();
    // Named with the file it is about, in the status bar and in a box over the window.
    QString expected = QStringLiteral("Unable to open Figure data file: ") +
                       QString::fromStdString(folder.path("none.fig"));
    EXPECT_EQ(window_->lastMessage(), expected);
    EXPECT_EQ(window_->statusBar()->currentMessage(), expected);
    QApplication::processEvents();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shownOver, window_.get());
}

TEST_F(MainWindowTest, SettingsAndTheBuilderGoToTheSelectedObject) {
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    ASSERT_NE(walk, host::kNoObject);
    struct Case {
        QString action;
        int message;
    };
    const Case cases[] = {{QStringLiteral("Settings…"), 32}, {QStringLiteral("Figure builder"), 1}};
    for (const Case& c : cases) {
        // Both open the module's modal sheet over the window, on the selected object's limbs;
        // it is cancelled as soon as it shows.
        int sheetsShown = 0;
        int limbsListed = 0;
        int callsWhileShown = 0;
        int messageWhileShown = 0;
        QTimer closer;
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (!top->isVisible() || top->windowTitle() != QStringLiteral("Settings"))
                    continue;
                auto* limbs = top->findChild<QTreeWidget*>(QStringLiteral("1006"));
                auto* cancel = top->findChild<QAbstractButton*>(QStringLiteral("2"));
                if (limbs == nullptr || cancel == nullptr)
                    continue;
                ++sheetsShown;
                limbsListed = limbs->topLevelItemCount();
                callsWhileShown = standin::scene().funcInitCalls;
                messageWhileShown = standin::scene().lastFuncInitMessage;
                cancel->click();
            }
        });
        closer.start();
        int calls = standin::scene().funcInitCalls;
        QAction* item = action(c.action);
        ASSERT_NE(item, nullptr);
        item->trigger();
        closer.stop();
        // The sheet is the one message's doing (the window poses the object again afterwards).
        EXPECT_EQ(callsWhileShown, calls + 1);
        EXPECT_EQ(messageWhileShown, c.message);
        EXPECT_EQ(sheetsShown, 1) << c.action.toStdString();
        EXPECT_GT(limbsListed, 0) << c.action.toStdString();
    }
}

// The value of an integer entry of the property block the module last handed over; -1 for none.
int32_t propertyValue(const char* name) {
    for (const PluginProperty* entry = standin::scene().propertyBlock;
         entry != nullptr && entry->name[0] != '\0'; ++entry) {
        if (std::strcmp(entry->name, name) == 0) {
            int32_t value = 0;
            std::memcpy(&value, entry->value, sizeof value);
            return value;
        }
    }
    return -1;
}

// Writes an integer entry of that block, as another host could have left it.
void writeProperty(const char* name, int32_t value) {
    for (auto* entry = const_cast<PluginProperty*>(standin::scene().propertyBlock);
         entry != nullptr && entry->name[0] != '\0'; ++entry)
        if (std::strcmp(entry->name, name) == 0)
            std::memcpy(entry->value, &value, sizeof value);
}

TEST_F(MainWindowTest, PoseAsCapturedSwitchesTheSelectedFigureAndTheNextFiles) {
    QAction* item = action(QStringLiteral("Pose as captured"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isCheckable());
    // Without an object the mark shows the posing of the next files: as captured at first.
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(window_->posing(), kPosingCaptured);

    int human = window_->loadFile(QString::fromStdString(example("human.bvh")));
    ASSERT_NE(human, host::kNoObject);
    EXPECT_EQ(propertyValue("Posing"), kPosingCaptured);
    EXPECT_EQ(session_.figure(human)->posing, kPosingCaptured);
    window_->showFrame(30);

    // The switch goes to the figure's record and poses it again at its frame, once.
    int calls = standin::scene().funcInitCalls;
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(session_.figure(human)->posing, kPosingWorldAxes);
    EXPECT_EQ(standin::scene().funcInitCalls, calls + 1);
    EXPECT_EQ(standin::scene().lastFuncInitMessage, kMessagePose);
    EXPECT_EQ(window_->frameOf(human), 30);

    // The next file takes the posing chosen, set before its load whatever the block held.
    writeProperty("Posing", kPosingCaptured);
    int walk = window_->loadFile(QString::fromStdString(example("walk.fig")));
    ASSERT_NE(walk, host::kNoObject);
    EXPECT_EQ(propertyValue("Posing"), kPosingWorldAxes);
    EXPECT_EQ(session_.figure(walk)->posing, kPosingWorldAxes);
    EXPECT_FALSE(item->isChecked());

    // Only the selected figure switches, and the mark follows the selection.
    item->trigger();
    EXPECT_EQ(session_.figure(walk)->posing, kPosingCaptured);
    EXPECT_EQ(session_.figure(human)->posing, kPosingWorldAxes);
    window_->selectObject(human);
    EXPECT_FALSE(item->isChecked());
    window_->selectObject(walk);
    EXPECT_TRUE(item->isChecked());
    // A posing the record was given elsewhere (the Settings sheet) shows when it is selected.
    session_.figure(human)->posing = kPosingCaptured;
    window_->selectObject(human);
    EXPECT_TRUE(item->isChecked());

    // A figure at its rest pose is the same in both posings: nothing is posed.
    testing_support::TempDir folder;
    std::string still = folder.write("still.fig",
                                     "HIERARCHY\nROOT Base\n{\nOFFSET 0 0 0\n"
                                     "JOINT A\n{\nOFFSET 1 0 0\n}\n}\n");
    int rest = window_->loadFile(QString::fromStdString(still));
    ASSERT_NE(rest, host::kNoObject);
    calls = standin::scene().funcInitCalls;
    item->trigger();
    EXPECT_EQ(session_.figure(rest)->posing, kPosingWorldAxes);
    EXPECT_EQ(standin::scene().funcInitCalls, calls);

    // With nothing selected only the next files change.
    window_->discardObject(rest);
    window_->discardObject(walk);
    window_->discardObject(human);
    ASSERT_EQ(window_->selectedObject(), host::kNoObject);
    item->trigger();
    EXPECT_EQ(window_->posing(), kPosingCaptured);
    EXPECT_TRUE(item->isChecked());
}

// Needs the module's posing as captured.
TEST_F(MainWindowTest, PoseAsCapturedRedrawsTheSelectedFigureAtOnce) {
    int human = window_->loadFile(QString::fromStdString(example("human.bvh")));
    ASSERT_NE(human, host::kNoObject);
    window_->showFrame(30);
    QApplication::processEvents();
    QImage captured = view();
    window_->setPosingOfSelected(kPosingWorldAxes);
    QApplication::processEvents();
    QImage world = view();
    EXPECT_NE(world, captured);
    EXPECT_GT(figurePixels(world), 500);
    window_->setPosingOfSelected(kPosingCaptured);
    QApplication::processEvents();
    EXPECT_EQ(view(), captured);
}

TEST_F(MainWindowTest, ThePosingChosenIsKeptForTheNextTime) {
    QSettings(QStringLiteral("fighost"), QStringLiteral("fighost"))
        .remove(QStringLiteral("figures/posing"));
    QAction* item = action(QStringLiteral("Pose as captured"));
    ASSERT_NE(item, nullptr);
    // A window that keeps nothing (a screenshot's) writes nothing.
    item->trigger();
    EXPECT_EQ(fighost::keptPosing(-1), -1);
    window_->rememberSettings();
    struct Step {
        int32_t posing;
        const char* kept;
    } steps[] = {{kPosingCaptured, "captured"}, {kPosingWorldAxes, "world"}};
    for (const Step& step : steps) {
        item->trigger();
        EXPECT_EQ(window_->posing(), step.posing);
        EXPECT_EQ(fighost::keptPosing(-1), step.posing);
        EXPECT_EQ(QSettings(QStringLiteral("fighost"), QStringLiteral("fighost"))
                      .value(QStringLiteral("figures/posing"))
                      .toString(),
                  QString::fromLatin1(step.kept));
    }
    // What is kept but names no posing is passed over.
    for (const char* kept : {"sideways", "1", ""}) {
        QSettings(QStringLiteral("fighost"), QStringLiteral("fighost"))
            .setValue(QStringLiteral("figures/posing"), QString::fromLatin1(kept));
        EXPECT_EQ(fighost::keptPosing(kPosingCaptured), kPosingCaptured) << kept;
        EXPECT_EQ(fighost::keptPosing(kPosingWorldAxes), kPosingWorldAxes) << kept;
    }
}

}  // namespace
