// The module without its dialog library: it needs no Qt library to load, and when the dialog
// library cannot be loaded, or cannot make a window, the settings message says so in one line and
// changes nothing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "plugin/entry_points.h"
#include "support/elf_reading.h"
#include "support/temp_dir.h"

namespace {

TEST(DialogToolkitTest, ModuleNeedsNoQtLibrary) {
    std::vector<std::string> needed = testing_support::neededLibraries(FIGURE_LIBRARY_PATH);
    ASSERT_FALSE(needed.empty()) << "no dynamic section read";
    EXPECT_NE(std::find(needed.begin(), needed.end(), "libpitools.so"), needed.end());
    for (const std::string& library : needed)
        EXPECT_EQ(library.find("Qt"), std::string::npos) << library;
}

// A copy of the module in a folder without a working dialog library beside it.
TEST(DialogToolkitTest, SettingsWithoutTheDialogLibraryChangeNothing) {
    const std::string refusing = testing_support::readFile(REFUSING_TOOLKIT_PATH);
    const struct {
        const char* toolkitBytes;  // null: no file at all
        const char* said;          // the line's beginning; null: the loader's own
        const char* reason;
    } cases[] = {{nullptr, nullptr, "No such file"},
                 {"not a library", nullptr, ""},
                 {refusing.c_str(), "Cannot open the Settings window", ""}};
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        std::string module =
            dir.write("libfigure.so", testing_support::readFile(FIGURE_LIBRARY_PATH));
        std::string toolkit = dir.path("libfigure_toolkit.so");
        if (c.toolkitBytes == refusing.c_str())
            dir.write("libfigure_toolkit.so", refusing);
        else if (c.toolkitBytes != nullptr)
            dir.write("libfigure_toolkit.so", c.toolkitBytes);
        void* library = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto init = reinterpret_cast<decltype(&piInit)>(dlsym(library, "piInit"));
        auto exit = reinterpret_cast<decltype(&piExit)>(dlsym(library, "piExit"));
        auto fig = reinterpret_cast<decltype(&Fig)>(dlsym(library, "Fig"));
        auto figLoad = reinterpret_cast<decltype(&FigLoad)>(dlsym(library, "FigLoad"));
        ASSERT_TRUE(init && exit && fig && figLoad);

        standin::resetScene();
        standin::setEchoErrors(false);
        ASSERT_EQ(init(0, 0), 1);
        std::string path = std::string(FIGURE_SOURCE_DIR) + "/examples/walk.fig";
        PluginCall load{};
        load.callValue = reinterpret_cast<uintptr_t>(path.c_str());
        load.objectHandle = -1;
        ASSERT_EQ(figLoad(1, 0, &load), 1);
        const standin::SceneObject before = standin::scene().objects.back();

        PluginCall settings{};
        settings.objectHandle = before.handle;
        EXPECT_EQ(fig(32, 0, &settings), 1);
        PluginCall builder{};
        builder.callValue = reinterpret_cast<uintptr_t>(path.c_str());
        builder.objectHandle = -1;
        EXPECT_EQ(fig(1, 0, &builder), 1);

        const std::vector<std::string>& errors = standin::scene().errors;
        ASSERT_EQ(errors.size(), 2u);
        for (const std::string& line : errors) {
            std::string said = c.said ? c.said : "Cannot load the dialog library " + toolkit + ": ";
            EXPECT_EQ(line.rfind(said, 0), 0u) << line;
            EXPECT_NE(line.find(c.reason), std::string::npos) << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << "one line";
        }
        ASSERT_EQ(standin::scene().objects.size(), 1u);
        const standin::SceneObject& after = standin::scene().objects.back();
        EXPECT_EQ(after.data, before.data);
        EXPECT_EQ(after.points.size(), before.points.size());

        PluginCall discard{};
        discard.objectHandle = before.handle;
        fig(8192, 0, &discard);
        exit(0);
        standin::resetScene();
    }
}

}  // namespace
