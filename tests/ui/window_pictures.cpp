// Writes pictures of the "Settings" sheet's two pages and of "Part Adjust", open on the sample
// human figure, as a person sees them, with whichever toolkit the program is built for:
// window_pictures FOLDER. On Qt they are settings-configure.png, settings-settings.png and
// part-adjust.png; on Windows settings-configure-windows.bmp, settings-settings-windows.bmp and
// part-adjust-windows.bmp, which scripts/screenshots turns into PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/stand_in_host.h"
#include "window_driver.h"

namespace ui_test {
namespace {

std::string folder;

void save(WindowHandle window, const std::string& name) {
    std::string path = savePicture(window, folder, name);
    EXPECT_FALSE(path.empty()) << name;
    std::printf("wrote %s\n", path.c_str());
}

TEST(WindowPictures, SheetPagesAndPartAdjust) {
    standin::resetScene();
    ASSERT_EQ(module().piInit(0, 0), 1);
    std::string path = std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh";
    PluginCall load{};
    load.callValue = reinterpret_cast<uintptr_t>(path.c_str());
    load.objectHandle = -1;
    ASSERT_EQ(module().BvhLoad(1, 0, &load), 1);
    int object = standin::scene().objects.back().handle;

    Script script(60);
    script
        .on("Settings",
            [](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                // The limb last, so that the list has the focus and shows the selection.
                type(configure, 1019, "30");
                clickLimb(configure, "LeftUpArm");
                save(sheet, "settings-configure");
                click(openPage(sheet, "Settings"), 1098);
                save(sheet, "settings-settings");
                click(openPage(sheet, "Configure"), 1002);
            })
        .on("Part Adjust",
            [](WindowHandle dialog) {
                type(dialog, 1019, "30");
                save(dialog, "part-adjust");
                click(dialog, 2);
            })
        .on("Settings", [](WindowHandle sheet) { clickSheetButton(sheet, 2); });
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
}  // namespace ui_test

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_pictures FOLDER\n");
        return 1;
    }
    ui_test::folder = argv[1];
    standin::setEchoErrors(true);
    return ui_test::runWindowTests(argc, argv);
}
