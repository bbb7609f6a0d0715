// A fresh module life per test with the stand-in host recording, and figures loaded through the
// loader commands.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/stand_in_host.h"
#include "support/temp_dir.h"
#include "ui_driver.h"

namespace ui_test {

class SheetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        ASSERT_NE(module().piInit, nullptr);
        ASSERT_EQ(module().piInit(0, 0), 1);
    }
    void TearDown() override {
        // Discard what the test left attached, as the host does when its scene goes.
        for (const standin::SceneObject& object : standin::scene().objects) {
            if (object.data == nullptr)
                continue;
            PluginCall call{};
            call.objectHandle = object.handle;
            module().Fig(8192, 0, &call);
        }
        module().piExit(0);
        standin::resetScene();
    }

    // Loads a file with a loader command; the new object's handle, or -1.
    static int load(const std::string& path, bool bioVision) {
        size_t before = standin::scene().objects.size();
        PluginCall call{};
        call.callValue = reinterpret_cast<uintptr_t>(path.c_str());
        call.objectHandle = -1;
        (bioVision ? module().BvhLoad : module().FigLoad)(1, 0, &call);
        if (standin::scene().objects.size() == before)
            return -1;
        return standin::scene().objects.back().handle;
    }
    static int loadHuman() {
        return load(std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh", true);
    }
    // Opens the sheet for the object with message 32 and plays the script.
    static int settings(int object, Script& script) {
        return script.run([object] {
            PluginCall call{};
            call.objectHandle = object;
            return module().Fig(32, 0, &call);
        });
    }
    static FigureData* figure(int object) { return module().GetFigure(object); }
    static std::vector<std::string> errors() { return standin::scene().errors; }

    testing_support::TempDir dir;
};

}  // namespace ui_test
