// Writes pictures of the settings sheet's two pages and of "Part Adjust", open on the sample
// human figure, as a person sees them: dialog_pictures FOLDER. Run by scripts/screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdio>
#include <string>

#include "host/stand_in_host.h"
#include "ui_driver.h"

namespace {

std::string folder;

void save(QWidget* window, const char* name) {
    QString path = QString::fromStdString(folder + "/" + name);
    EXPECT_TRUE(window->grab().save(path, "PNG")) << path.toStdString();
    std::printf("wrote %s\n", qPrintable(path));
}

TEST(DialogPictures, SheetPagesAndPartAdjust) {
    using namespace ui_test;
    standin::resetScene();
    ASSERT_EQ(module().piInit(0, 0), 1);
    std::string path = std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh";
    PluginCall load{};
    load.callValue = reinterpret_cast<uintptr_t>(path.c_str());
    load.objectHandle = -1;
    ASSERT_EQ(module().BvhLoad(1, 0, &load), 1);
    int object = standin::scene().objects.back().handle;

    Script script;
    script
        .on("Settings",
            [](QWidget* sheet) {
                QWidget* configure = page(sheet, "Configure");
                QTreeWidget* limbs = tree(configure);
                limbs->expandAll();
                clickItem(limbs, "LeftUpArm");
                type(edit(configure, 1019), "30");
                save(sheet, "settings-configure.png");
                QWidget* settings = showPage(sheet, "Settings");
                click(button(settings, 1098));
                save(sheet, "settings-settings.png");
                showPage(sheet, "Configure");
                click(button(configure, 1002));
            })
        .on("Part Adjust",
            [](QWidget* dialog) {
                type(edit(dialog, 1019), "30");
                save(dialog, "part-adjust.png");
                click(button(dialog, 2));
            })
        .on("Settings", [](QWidget* sheet) { click(button(sheet, 2)); });
    script.run([object] {
        PluginCall call{};
        call.objectHandle = object;
        return module().Fig(32, 0, &call);
    });
    PluginCall discard{};
    discard.objectHandle = object;
    module().Fig(8192, 0, &discard);
    module().piExit(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_pictures FOLDER\n");
        return 1;
    }
    folder = argv[1];
    standin::setEchoErrors(true);
    return RUN_ALL_TESTS();
}
