// fighost's window on Qt's offscreen platform, over the built module: its menus, loading through
// a Load command, the frame controls, deleting an object, and the module's messages.
#include "host/app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTreeWidget>
#include <memory>

#include "figure_pixels.h"
#include "host/app/scene_widget.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::figurePixels;

using fighost::MainWindow;

std::string example(const char* name) {
    return std::string(FIGURE_SOURCE_DIR) + "/examples/" + name;
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        std::string error;
        ASSERT_TRUE(session_.open(FIGURE_LIBRARY_PATH, &error)) << error;
        window_ = std::make_unique<MainWindow>(&session_, 1);
        window_->resize(900, 600);
        window_->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window_.reset();
        standin::setEchoErrors(true);
    }

    QImage view() { return window_->sceneWidget()->grab().toImage(); }
    QAction* action(const QString& text) {
        for (QAction* menu : window_->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (item->text() == text)
                    return item;
        return nullptr;
    }
    void processEventsFor(int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    fighost::ModuleSession session_;
    std::unique_ptr<MainWindow> window_;
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

    // Playing moves on by itself, about 30 frames a second.
    window_->setPlaying(true);
    processEventsFor(400);
    window_->setPlaying(false);
    EXPECT_GT(slider->value(), 12);
    EXPECT_LT(slider->value(), 40);
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
                cancel->click();
            }
        });
        closer.start();
        int calls = standin::scene().funcInitCalls;
        QAction* item = action(c.action);
        ASSERT_NE(item, nullptr);
        item->trigger();
        closer.stop();
        EXPECT_EQ(standin::scene().funcInitCalls, calls + 1);
        EXPECT_EQ(standin::scene().lastFuncInitMessage, c.message);
        EXPECT_EQ(sheetsShown, 1) << c.action.toStdString();
        EXPECT_GT(limbsListed, 0) << c.action.toStdString();
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
