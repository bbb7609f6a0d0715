// A fresh module life per test with the stand-in host recording, and figures loaded through the
// loader commands.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/stand_in_host.h"
#include "support/temp_dir.h"
#include "window_driver.h"

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

    //   Hips        channels 0-5: X, Y, Z position, Z, X, Y rotation
    //    ├── Chest  channels 6-8: Z, X, Y rotation
    //    │    └── .x          (a placeholder: not listed, its children are)
    //    │         └── Arm    channels 9-11
    //    │              └── End
    //    └── Leg    channels 12-14
    //         └── End
    // Ten frames; channel c holds c * 100 + f at frame f.
    std::string smallFigure(const std::string& name = "small.fig") const {
        std::string rotations = "CHANNELS 3 Zrotation Xrotation Yrotation\n";
        std::string text =
            "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\n"
            "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
            "JOINT Chest\n{\nOFFSET 0 5 0\n" +
            rotations + "JOINT .x\n{\nOFFSET 0 1 0\nJOINT Arm\n{\nOFFSET 1 0 0\n" + rotations +
            "End Site\n{\nOFFSET 1 0 0\n}\n}\n}\n}\n"
            "JOINT Leg\n{\nOFFSET 1 -5 0\n" +
            rotations +
            "End Site\n{\nOFFSET 0 -4 0\n}\n}\n}\nMOTION\nFrames: 10\nFrame Time: 0.1\n";
        for (int f = 0; f < 10; ++f) {
            for (int c = 0; c < 15; ++c)
                text += std::to_string(c * 100 + f) + (c < 14 ? " " : "\n");
        }
        return dir.write(name, text);
    }
    static double value(FigureData* figure, int channel, int frame) {
        return figure->motion->channels[channel].values[frame];
    }
    static std::vector<std::string> errors() { return standin::scene().errors; }

    testing_support::TempDir dir;
};

}  // namespace ui_test
