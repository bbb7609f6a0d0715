// The "Settings" sheet through message 32 and the builder's main action: its pages and controls
// as a person sees them, the Settings page's style choice, the test cable and the number fields.
// Run against both toolkits.
#include <gtest/gtest-spi.h>

#include <cstring>

#include "ui_fixture.h"

namespace ui_test {
namespace {

using SettingsSheetTest = SheetTest;

TEST_F(SettingsSheetTest, SheetOpensOnConfigureWithNothingSelected) {
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
        // Each control shows its template caption; "Delete All" and "Discard Frames" stay
        // disabled.
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
        // Children in slot order, as the file lists them.
        std::string limbs = limbList(configure);
        EXPECT_EQ(limbs.rfind("Hips[LeftUpLeg[LeftLowLeg[LeftFoot[LeftToe[End]]]],RightUpLeg[", 0),
                  0u)
            << limbs;
        EXPECT_EQ(selectedLimb(configure), "") << "nothing is selected when the sheet opens";

        WindowHandle settings = openPage(sheet, "Settings");
        EXPECT_EQ(currentPage(sheet), "Settings");
        const char* radios[] = {"Line segments", "&Cylinders", "&Ballons"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(text(settings, 1096 + i), radios[i]);
            EXPECT_EQ(isChecked(settings, 1096 + i), i == 1)
                << "LimbType 1 loaded the figure as cylinders";
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

// Closing with OK writes the chosen style into the figure data; Cancel leaves it.
TEST_F(SettingsSheetTest, StyleIsWrittenOnlyOnOk) {
    const struct {
        int initial;
        int chosen;
        int closeWith;
        int expected;
    } cases[] = {{2, 0, 1, 0}, {2, 0, 2, 2}, {0, 2, 1, 2}, {1, 1, 1, 1}};
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
            // Nothing changes while the sheet is open.
            EXPECT_EQ(figure(human)->segmentStyle, c.initial);
            clickSheetButton(sheet, c.closeWith);
        });
        EXPECT_EQ(settings(human, script), 1);
        EXPECT_EQ(figure(human)->segmentStyle, c.expected)
            << c.initial << " -> " << c.chosen << " closed with " << c.closeWith;
    }
}

// "Pose as &captured" shows the figure's posing and writes it on OK; Cancel leaves it. When OK
// changes the posing, the object is drawn again at the Configure page's frame in the new posing,
// just as a pose message for that frame draws it; otherwise the object keeps what it showed.
TEST_F(SettingsSheetTest, PoseAsCapturedIsWrittenOnOkAndDrawnAgain) {
    const struct {
        int initial;
        bool click;
        int closeWith;
        int expected;
    } cases[] = {{0, true, 1, 1}, {1, true, 1, 0},  {0, true, 2, 0},
                 {1, true, 2, 1}, {1, false, 1, 1}, {0, false, 1, 0}};
    for (const auto& c : cases) {
        int human = loadHuman();
        ASSERT_NE(human, -1);
        figure(human)->posing = c.initial;
        const std::vector<PiPoint> before = standin::object(human)->points;
        Script script;
        script.on("Settings", [&](WindowHandle sheet) {
            type(openPage(sheet, "Configure"), 1019, "30");
            WindowHandle page = openPage(sheet, "Settings");
            EXPECT_EQ(text(page, 1103), "Pose as &captured");
            EXPECT_TRUE(isEnabled(page, 1103));
            EXPECT_EQ(isChecked(page, 1103), c.initial == 1);
            if (c.click) {
                click(page, 1103);
                EXPECT_EQ(isChecked(page, 1103), c.initial != 1);
            }
            EXPECT_EQ(figure(human)->posing, c.initial) << "nothing changes while it is open";
            clickSheetButton(sheet, c.closeWith);
        });
        EXPECT_EQ(settings(human, script), 1);
        const std::string which = std::to_string(c.initial) + (c.click ? " clicked" : "") +
                                  " closed with " + std::to_string(c.closeWith);
        EXPECT_EQ(figure(human)->posing, c.expected) << which;
        const std::vector<PiPoint> after = standin::object(human)->points;
        const bool drawnAgain = c.expected != c.initial;
        // What a pose message at frame 30 draws in the posing the figure has now.
        PluginCall call{};
        call.objectHandle = human;
        call.callValue = 30;
        module().Fig(512, 0, &call);
        const std::vector<PiPoint>& wanted = drawnAgain ? standin::object(human)->points : before;
        ASSERT_EQ(after.size(), wanted.size()) << which;
        size_t differing = 0;
        for (size_t n = 0; n < after.size(); ++n) {
            if (after[n].x != wanted[n].x || after[n].y != wanted[n].y || after[n].z != wanted[n].z)
                ++differing;
        }
        EXPECT_EQ(differing, 0u) << which;
        const bool asBefore =
            after.size() == before.size() &&
            std::memcmp(after.data(), before.data(), after.size() * sizeof(PiPoint)) == 0;
        EXPECT_EQ(asBefore, !drawnAgain) << which << ": frame 30 is not the rest pose";
        EXPECT_TRUE(errors().empty());
    }
}

// Without a figure there is no posing to choose: the box is shown unchecked and disabled.
TEST_F(SettingsSheetTest, PoseAsCapturedIsDisabledWithoutAFigure) {
    Script script;
    script.on("Settings", [](WindowHandle sheet) {
        WindowHandle page = openPage(sheet, "Settings");
        EXPECT_TRUE(isVisible(page, 1103));
        EXPECT_FALSE(isEnabled(page, 1103));
        EXPECT_FALSE(isChecked(page, 1103));
        clickSheetButton(sheet, 1);
    });
    int result = script.run([] {
        PluginCall call{};
        call.objectHandle = -1;
        return module().Fig(32, 0, &call);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(errors().empty());
}

// The builder's main action opens the same sheet, without an object: no figure data, the
// "LimbType" style shown, Test drawing one new cable object per press.
TEST_F(SettingsSheetTest, BuilderOpensTheSheetAndTestDrawsACablePerPress) {
    Script script;
    script.on("Settings", [](WindowHandle sheet) {
        EXPECT_EQ(limbList(openPage(sheet, "Configure")), "");
        WindowHandle settings = openPage(sheet, "Settings");
        EXPECT_TRUE(isChecked(settings, 1097));
        click(settings, 1098);
        for (int press = 1; press <= 2; ++press) {
            click(settings, 1100);
            ASSERT_EQ(standin::scene().objects.size(), static_cast<size_t>(press));
            const standin::SceneObject& cable = standin::scene().objects.back();
            EXPECT_EQ(cable.name, "_Cable" + std::to_string(press - 1));
            EXPECT_GT(cable.count(1), 0u);
        }
        clickSheetButton(sheet, 1);
    });
    std::string path = "unused";
    int result = script.run([&] {
        PluginCall call{};
        call.callValue = reinterpret_cast<uintptr_t>(path.c_str());
        call.objectHandle = -1;
        return module().Fig(1, 0, &call);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(errors().empty());
}

// A number field that does not hold a whole number keeps the page, on OK and on leaving it: the
// message, the focus back on the field, the sheet still open; the fields show 9 and 8 again next
// time.
TEST_F(SettingsSheetTest, NumberFieldsMustHoldWholeNumbers) {
    for (int id : {1101, 1102}) {
        int human = loadHuman();
        Script script;
        script
            .on("Settings",
                [id](WindowHandle sheet) {
                    type(openPage(sheet, "Settings"), id, "2.5");
                    clickSheetButton(sheet, 1);
                })
            .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
            .on("Settings",
                [id](WindowHandle sheet) {
                    EXPECT_EQ(currentPage(sheet), "Settings");
                    EXPECT_TRUE(hasFocus(openPage(sheet, "Settings"), id));
                    // Leaving the page is refused too.
                    openPage(sheet, "Configure");
                })
            .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
            .on("Settings", [id](WindowHandle sheet) {
                EXPECT_EQ(currentPage(sheet), "Settings");
                WindowHandle page = openPage(sheet, "Settings");
                EXPECT_TRUE(hasFocus(page, id));
                type(page, id, "12");
                clickSheetButton(sheet, 1);
            });
        EXPECT_EQ(settings(human, script), 1);
        EXPECT_EQ(script.messages(),
                  std::vector<std::string>(2, "Settings: Please enter a whole number."));

        Script again;
        again.on("Settings", [](WindowHandle sheet) {
            WindowHandle page = openPage(sheet, "Settings");
            EXPECT_EQ(text(page, 1101), "9");
            EXPECT_EQ(text(page, 1102), "8");
            clickSheetButton(sheet, 2);
        });
        settings(human, again);
    }
}

// Opens the sheet with no step to close it.
void openAndLeaveOpen() {
    Script script(1);
    script.run([] {
        PluginCall call{};
        call.objectHandle = -1;
        return module().Fig(32, 0, &call);
    });
}

// The time limit closes a window left open and fails the test instead of hanging the suite.
TEST_F(SettingsSheetTest, WindowLeftOpenFailsTheTestInsteadOfHanging) {
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(openAndLeaveOpen(),
                                           "time limit of 1 s: still open: Settings");
    EXPECT_FALSE(anyWindowShown());
}

}  // namespace
}  // namespace ui_test
