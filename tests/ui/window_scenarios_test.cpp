// Scenarios that run unchanged against both toolkits, the Qt layer on Linux and the system's own
// controls on Windows: what a person sees and does in the sheet, its pages and Part Adjust, with
// modal windows inside modal windows, validation keeping the focus, the frame spin storing
// rotations and the file dialog's filter.
#include <gtest/gtest-spi.h>

#include "ui_fixture.h"

namespace ui_test {
namespace {

using WindowScenarios = SheetTest;

TEST_F(WindowScenarios, SheetOpensOnConfigureWithNothingSelected) {
    int human = loadHuman();
    ASSERT_NE(human, -1);
    Script script;
    script.on("Settings", [](WindowHandle sheet) {
        EXPECT_EQ(pageTabs(sheet), "Configure,Settings");
        EXPECT_EQ(currentPage(sheet), "Configure");
        EXPECT_EQ(text(sheet, 1), "OK");
        EXPECT_EQ(text(sheet, 2), "Cancel");
        EXPECT_FALSE(isSheetButtonEnabled(sheet, 12321)) << "Apply stays disabled";
        WindowHandle configure = openPage(sheet, "Configure");
        const struct {
            int id;
            const char* caption;
            bool enabled;
        } buttons[] = {{1010, "Load Figure", true}, {1023, "Save Figure", true},
                       {1003, "Add Limb", true},    {1004, "Delete", true},
                       {1011, "Delete All", false}, {1002, "Edit", true},
                       {1005, "Generate", true},    {1009, "Discard Frames", false}};
        for (const auto& b : buttons) {
            EXPECT_EQ(text(configure, b.id), b.caption);
            EXPECT_EQ(isEnabled(configure, b.id), b.enabled) << b.id;
        }
        EXPECT_EQ(text(configure, 1019), "0");
        EXPECT_EQ(limbList(configure).rfind("Hips[LeftUpLeg[LeftLowLeg[", 0), 0u);
        EXPECT_EQ(selectedLimb(configure), "") << "nothing is selected when the sheet opens";

        WindowHandle settings = openPage(sheet, "Settings");
        EXPECT_EQ(currentPage(sheet), "Settings");
        const char* radios[] = {"Line segments", "&Cylinders", "&Ballons"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(text(settings, 1096 + i), radios[i]);
            EXPECT_EQ(isChecked(settings, 1096 + i), i == 1);
        }
        EXPECT_EQ(text(settings, 1101), "9");
        EXPECT_EQ(text(settings, 1102), "8");
        EXPECT_FALSE(isVisible(settings, 1011));
        EXPECT_FALSE(isVisible(settings, 1012));
        // Back on Configure, the list is as it was: still nothing selected.
        configure = openPage(sheet, "Configure");
        EXPECT_EQ(selectedLimb(configure), "");
        clickSheetButton(sheet, 2);
    });
    EXPECT_EQ(settings(human, script), 1);
}

TEST_F(WindowScenarios, StyleIsWrittenOnlyOnOk) {
    const struct {
        int initial;
        int chosen;
        int closeWith;
        int expected;
    } cases[] = {{2, 0, 1, 0}, {2, 0, 2, 2}, {0, 2, 1, 2}};
    for (const auto& c : cases) {
        int human = loadHuman();
        ASSERT_NE(human, -1);
        figure(human)->segmentStyle = c.initial;
        Script script;
        script.on("Settings", [&](WindowHandle sheet) {
            WindowHandle page = openPage(sheet, "Settings");
            EXPECT_TRUE(isChecked(page, 1096 + c.initial));
            click(page, 1096 + c.chosen);
            EXPECT_TRUE(isChecked(page, 1096 + c.chosen));
            EXPECT_EQ(figure(human)->segmentStyle, c.initial);
            clickSheetButton(sheet, c.closeWith);
        });
        EXPECT_EQ(settings(human, script), 1);
        EXPECT_EQ(figure(human)->segmentStyle, c.expected)
            << c.initial << " -> " << c.chosen << " closed with " << c.closeWith;
    }
}

// A whole number field that does not read keeps the page, on OK and on leaving it, with the
// focus back on the field.
TEST_F(WindowScenarios, ValidationKeepsThePageAndTheFocus) {
    int human = loadHuman();
    Script script;
    script
        .on("Settings",
            [](WindowHandle sheet) {
                type(openPage(sheet, "Settings"), 1102, "2.5");
                clickSheetButton(sheet, 1);
            })
        .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
        .on("Settings",
            [](WindowHandle sheet) {
                EXPECT_EQ(currentPage(sheet), "Settings");
                WindowHandle page = openPage(sheet, "Configure");
                (void)page;
            })
        .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
        .on("Settings", [](WindowHandle sheet) {
            EXPECT_EQ(currentPage(sheet), "Settings");
            WindowHandle page = openPage(sheet, "Settings");
            EXPECT_TRUE(hasFocus(page, 1102));
            type(page, 1102, "12");
            clickSheetButton(sheet, 1);
        });
    EXPECT_EQ(settings(human, script), 1);
    EXPECT_EQ(script.messages(),
              std::vector<std::string>(2, "Settings: Please enter a whole number."));
}

// Part Adjust over the sheet, opened by a double click: Up and Down in the frame field store the
// rotations shown at the frame left (never frame 0); a field that does not read shows its
// message over Part Adjust and keeps the focus; Cancel keeps what was stored.
TEST_F(WindowScenarios, PartAdjustStepsFramesAndStoresRotations) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    Script script;
    script
        .on("Settings",
            [](WindowHandle sheet) { clickLimb(openPage(sheet, "Configure"), "Chest", true); })
        .on("Part Adjust",
            [&](WindowHandle dialog) {
                EXPECT_EQ(text(dialog, 1003), "Chest");
                EXPECT_EQ(text(dialog, 1019), "0");
                EXPECT_EQ(text(dialog, 1013), "700");
                type(dialog, 1013, "30");
                press(dialog, 1019, Key::Up);
                EXPECT_EQ(text(dialog, 1019), "1");
                EXPECT_EQ(f->motion->channels[7].values[0], 700) << "frame 0 is never written";
                EXPECT_EQ(text(dialog, 1013), "701");
                type(dialog, 1013, "-12.25");
                press(dialog, 1019, Key::Up, 2);
                EXPECT_EQ(text(dialog, 1019), "3");
                EXPECT_EQ(f->motion->channels[7].values[1], -12.25);
                EXPECT_EQ(f->motion->channels[7].values[2], 702);
                press(dialog, 1019, Key::Down, 5);
                EXPECT_EQ(text(dialog, 1019), "0") << "the spin stops at 0";
                type(dialog, 1016, "1,5");
                click(dialog, 1);
            })
        .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
        .on("Part Adjust",
            [](WindowHandle dialog) {
                EXPECT_TRUE(hasFocus(dialog, 1016));
                click(dialog, 2);
            })
        .on("Settings", [](WindowHandle sheet) { clickSheetButton(sheet, 1); });
    settings(object, script);
    EXPECT_EQ(script.messages(), std::vector<std::string>{"Part Adjust: Please enter a number."});
    EXPECT_EQ(f->motion->channels[7].values[1], -12.25) << "Cancel takes back no rotation";
    EXPECT_STREQ(f->rootLimb()->children[0]->name, "Chest");
}

// The filter chosen in the file dialog, not the file's name, decides how Load Figure reads it:
// "walk" chosen with "All files" is read as walk.fig, with "Biovision" as walk.bvh (missing).
TEST_F(WindowScenarios, LoadFigureFollowsTheChosenFilter) {
    const struct {
        int filter;
        const char* error;
    } cases[] = {{3, nullptr}, {2, "Unable to open BioVision data file"}};
    for (const auto& c : cases) {
        smallFigure("walk.fig");
        std::string path = dir.write("walk", "not read");
        size_t errorsBefore = errors().size();
        Script script;
        script.on("Settings", [](WindowHandle sheet) { click(openPage(sheet, "Configure"), 1010); })
            .on("Load Figure Data", [&](WindowHandle files) { chooseFile(files, c.filter, path); })
            .on("Settings", [&](WindowHandle sheet) {
                EXPECT_EQ(limbList(openPage(sheet, "Configure")),
                          c.error == nullptr ? "Hips[Chest[Arm[End]],Leg[End]]" : "");
                clickSheetButton(sheet, 2);
            });
        settings(-1, script);
        std::vector<std::string> all = errors();
        std::vector<std::string> said(all.begin() + static_cast<long>(errorsBefore), all.end());
        EXPECT_EQ(said, c.error == nullptr ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.error})
            << "filter " << c.filter;
    }
}

void openAndLeaveOpen() {
    Script script(1);
    script.run([] {
        PluginCall call{};
        call.objectHandle = -1;
        return module().Fig(32, 0, &call);
    });
}

// The time limit closes a window left open and fails the test instead of hanging the suite.
TEST_F(WindowScenarios, WindowLeftOpenFailsTheTestInsteadOfHanging) {
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(openAndLeaveOpen(),
                                           "time limit of 1 s: still open: Settings");
}

}  // namespace
}  // namespace ui_test
