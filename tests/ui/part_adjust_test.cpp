// "Part Adjust" opened from the Configure page's Edit: rotations frame by frame in the motion
// table, what OK, Apply and Cancel keep, and the number fields' validation. Run against both
// toolkits.
#include <cstring>
#include <string>
#include <vector>

#include "ui_fixture.h"

namespace ui_test {
namespace {

class PartAdjustTest : public SheetTest {
  protected:
    // Opens the sheet on the object, selects the limb, presses Edit and runs steps in the dialog;
    // closes the sheet with OK afterwards. The message boxes shown.
    std::vector<std::string> editLimb(int object, const char* limb,
                                      std::function<void(Script&)> dialogSteps) {
        Script script;
        script.on("Settings", [limb](WindowHandle sheet) {
            WindowHandle configure = openPage(sheet, "Configure");
            clickLimb(configure, limb);
            click(configure, 1002);
        });
        dialogSteps(script);
        script.on("Settings", [](WindowHandle sheet) { clickSheetButton(sheet, 1); });
        settings(object, script);
        return script.messages();
    }
};

// Chest's channels 6, 7, 8 are Z, X and Y rotation; channel c holds c * 100 + f at frame f.
TEST_F(PartAdjustTest, OpensOnFrameZeroAndStepsWithTheArrowKeys) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    editLimb(object, "Chest", [&](Script& script) {
        script.on("Part Adjust", [&](WindowHandle dialog) {
            EXPECT_EQ(text(dialog, 1003), "Chest");
            EXPECT_EQ(text(dialog, 1017), "5");
            EXPECT_EQ(text(dialog, 1019), "0");
            EXPECT_EQ(text(dialog, 1015), "600");
            EXPECT_EQ(text(dialog, 1013), "700");
            EXPECT_EQ(text(dialog, 1014), "800");
            EXPECT_EQ(text(dialog, 1007), "0");
            EXPECT_TRUE(isReadOnly(dialog, 1007));
            // Frame 0 is never written: its rotations cannot be typed over.
            for (int id : {1013, 1014, 1015})
                EXPECT_TRUE(isReadOnly(dialog, id)) << id;
            type(dialog, 1013, "30");
            EXPECT_EQ(text(dialog, 1013), "700");
            press(dialog, 1019, Key::Up);
            EXPECT_EQ(text(dialog, 1019), "1");
            for (int id : {1013, 1014, 1015})
                EXPECT_FALSE(isReadOnly(dialog, id)) << id;
            EXPECT_EQ(value(f, 7, 0), 700);
            EXPECT_EQ(text(dialog, 1013), "701");
            // Typed at frame 1 and left with Down: stored at frame 1.
            type(dialog, 1013, "-12.25");
            press(dialog, 1019, Key::Down);
            EXPECT_EQ(value(f, 7, 1), -12.25);
            EXPECT_EQ(text(dialog, 1013), "700");
            press(dialog, 1019, Key::Down);
            EXPECT_EQ(text(dialog, 1019), "0") << "the spin stops at 0";
            EXPECT_TRUE(isReadOnly(dialog, 1013));
            click(dialog, 2);
        });
    });
    EXPECT_EQ(value(f, 7, 1), 701) << "Cancel takes back the rotations stored";
    EXPECT_EQ(f->motion->frameCount, 10u);
}

// Where a typed rotation ends up, by the button that stores it: Cancel takes back even what
// Apply stored, and at frame 0 nothing can be typed.
TEST_F(PartAdjustTest, ApplyOkAndCancelStoreAtTheFrameShown) {
    const struct {
        const char* frame;
        int button;  // 1021 Apply then Cancel, 1 OK, 2 Cancel
        double stored;
        const char* name;
        const char* shownAfterApply;  // frame 0 is never written: Apply shows it back
    } cases[] = {
        {"2", 1021, 702, "Chest", "30"},  {"2", 1, 30, "Torso", ""},  {"2", 2, 702, "Chest", ""},
        {"0", 1021, 700, "Chest", "700"}, {"0", 1, 700, "Torso", ""},
    };
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        FigureData* f = figure(object);
        int frame = std::stoi(c.frame);
        editLimb(object, "Chest", [&](Script& script) {
            script.on("Part Adjust", [&](WindowHandle dialog) {
                type(dialog, 1019, c.frame);
                type(dialog, 1003, "Torso");
                type(dialog, 1013, "30");
                click(dialog, c.button);
                if (c.button == 1021) {
                    EXPECT_EQ(text(dialog, 1013), c.shownAfterApply);
                    click(dialog, 2);
                }
            });
        });
        EXPECT_EQ(value(f, 7, frame), c.stored) << c.frame << " with " << c.button;
        EXPECT_STREQ(f->rootLimb()->children[0]->name, c.name);
    }
}

// Stepping past the end of the motion stores the shown values at each frame left behind.
TEST_F(PartAdjustTest, SteppingPastTheEndGrowsTheMotion) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    editLimb(object, "Chest", [&](Script& script) {
        script.on("Part Adjust", [&](WindowHandle dialog) {
            type(dialog, 1019, "9");
            press(dialog, 1019, Key::Up, 3);
            EXPECT_EQ(text(dialog, 1019), "12");
            click(dialog, 1);
        });
    });
    EXPECT_EQ(f->motion->frameCount, 12u);
    for (int c = 6; c <= 8; ++c)
        for (int frame : {10, 11})
            EXPECT_EQ(value(f, c, frame), c * 100 + 9) << c << " at " << frame;
}

// A field that does not read, or holds a number its field cannot keep: its message, the focus
// back on it, the dialog still open, the limb unchanged after Cancel. The rotations are typed at
// frame 1, the first that takes them.
TEST_F(PartAdjustTest, NumberFieldsAreValidated) {
    const char* const pastAFloat =
        "Part Adjust: Please enter a number between -3.40282e+38 and 3.40282e+38.";
    const struct {
        int id;
        const char* typed;
        const char* message;
    } cases[] = {
        {1016, "1,5", "Part Adjust: Please enter a number."},
        {1017, "1,5", "Part Adjust: Please enter a number."},
        {1018, "1,5", "Part Adjust: Please enter a number."},
        {1013, "1,5", "Part Adjust: Please enter a number."},
        {1014, "1,5", "Part Adjust: Please enter a number."},
        {1015, "1,5", "Part Adjust: Please enter a number."},
        {1016, "1e39", pastAFloat},
        {1017, "-3.5e38", pastAFloat},
        {1018, "1e39", pastAFloat},
    };
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        FigureData* f = figure(object);
        const PiPoint offset = f->rootLimb()->children[1]->offset;
        std::vector<std::string> messages = editLimb(object, "Leg", [&](Script& script) {
            script
                .on("Part Adjust",
                    [&](WindowHandle dialog) {
                        type(dialog, 1003, "Renamed");
                        type(dialog, 1019, "1");
                        type(dialog, c.id, c.typed);
                        click(dialog, 1);
                    })
                .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
                .on("Part Adjust", [&](WindowHandle dialog) {
                    EXPECT_TRUE(hasFocus(dialog, c.id)) << c.id;
                    click(dialog, 2);
                });
        });
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.id << " " << c.typed;
        const Limb* leg = f->rootLimb()->children[1];
        EXPECT_STREQ(leg->name, "Leg");
        EXPECT_EQ(std::memcmp(&leg->offset, &offset, sizeof offset), 0) << c.typed;
    }
}

// Whichever way the frame changes, the rotations typed for the frame being left are stored there
// first; a number typed digit by digit passes through the frames of its first digits ("1" of
// "12") without storing there or lengthening the motion. Chest's X rotation is channel 7.
TEST_F(PartAdjustTest, TheFrameLeftKeepsWhatWasTypedThereAndNoOtherFrameChanges) {
    enum Way { kKeyUp, kArrowUp, kArrowDown, kTyped };
    const struct {
        const char* from;
        Way way;
        const char* to;  // the frame shown afterwards
        const char* shownX;
        uint32_t frameCount;  // after OK at the new frame, untouched there
    } cases[] = {
        {"2", kKeyUp, "3", "703", 10},
        {"2", kArrowUp, "3", "703", 10},
        {"2", kArrowDown, "1", "701", 10},
        {"2", kTyped, "12", "709", 10},
        {"5", kTyped, "35", "709", 10},
        {"9", kTyped, "1", "701", 10},
        {"9", kKeyUp, "10", "45.5", 10},
        // "12" on the way to "123" lies past the motion's end: nothing lengthens it.
        {"2", kTyped, "123", "709", 10},
    };
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        FigureData* f = figure(object);
        const int from = std::stoi(c.from);
        editLimb(object, "Chest", [&](Script& script) {
            script.on("Part Adjust", [&](WindowHandle dialog) {
                type(dialog, 1019, c.from);
                type(dialog, 1013, "45.5");
                switch (c.way) {
                    case kKeyUp:
                        press(dialog, 1019, Key::Up);
                        break;
                    case kArrowUp:
                        clickArrow(dialog, 1020, Key::Up);
                        break;
                    case kArrowDown:
                        clickArrow(dialog, 1020, Key::Down);
                        break;
                    case kTyped:
                        type(dialog, 1019, c.to);
                        break;
                }
                EXPECT_EQ(text(dialog, 1019), c.to);
                EXPECT_EQ(text(dialog, 1013), c.shownX) << c.from << " to " << c.to;
                click(dialog, 1);
            });
        });
        EXPECT_EQ(value(f, 7, from), 45.5) << c.from << " to " << c.to;
        for (int frame = 0; frame < 10; ++frame) {
            if (frame != from) {
                EXPECT_EQ(value(f, 7, frame), 700 + frame) << c.from << " to " << c.to;
            }
        }
        EXPECT_EQ(f->motion->frameCount, c.frameCount) << c.from << " to " << c.to;
    }
}

// Cancel leaves the figure exactly as the dialog found it: the values Apply and the steps stored,
// the frames they added, and the channels given to a limb that had none (and the motion made
// for a figure that had none).
TEST_F(PartAdjustTest, CancelLeavesTheFigureAsItWas) {
    const struct {
        bool small;       // the small figure, or a root without channels
        bool dropMotion;  // the figure has no motion table at all
        const char* limb;
    } cases[] = {{true, false, "Chest"}, {false, false, "Hips"}, {false, true, "Hips"}};
    for (const auto& c : cases) {
        const std::string file =
            c.small ? smallFigure() : dir.write("still.fig", "ROOT Hips\n{\nOFFSET 0 0 0\n}\n");
        int object = load(file, false);
        FigureData* f = figure(object);
        if (c.dropMotion) {
            delete f->motion;
            f->motion = nullptr;
        }
        // What the motion held: its counts and every channel (the table is the module's own).
        const bool hadMotion = f->motion != nullptr;
        std::vector<MotionChannel> channelsBefore;
        uint32_t framesBefore = 0;
        int channelCountBefore = 0;
        if (hadMotion) {
            channelsBefore.assign(f->motion->channels, f->motion->channels + kMaxChannels);
            framesBefore = f->motion->frameCount;
            channelCountBefore = f->motion->channelCount();
        }
        Limb* limb = c.small ? f->rootLimb()->children[0] : f->rootLimb();
        const uint32_t firstChannel = limb->firstChannel, declared = limb->declaredChannels;
        editLimb(object, c.limb, [&](Script& script) {
            script.on("Part Adjust", [&](WindowHandle dialog) {
                type(dialog, 1019, "3");
                type(dialog, 1013, "30");
                click(dialog, 1021);
                press(dialog, 1019, Key::Up, 10);
                type(dialog, 1015, "-8");
                press(dialog, 1019, Key::Up);
                click(dialog, 2);
            });
        });
        EXPECT_EQ(limb->firstChannel, firstChannel) << c.limb;
        EXPECT_EQ(limb->declaredChannels, declared) << c.limb;
        if (!hadMotion) {
            EXPECT_EQ(f->motion, nullptr) << c.limb;
            continue;
        }
        ASSERT_NE(f->motion, nullptr);
        EXPECT_EQ(f->motion->frameCount, framesBefore) << c.limb;
        EXPECT_EQ(f->motion->channelCount(), channelCountBefore) << c.limb;
        EXPECT_EQ(
            std::memcmp(f->motion->channels, channelsBefore.data(), sizeof f->motion->channels), 0)
            << c.limb;
    }
}

// A frame that is not a whole number of 0 or more is refused as it is typed and the frame shown
// stays.
TEST_F(PartAdjustTest, FrameMustBeAWholeNumber) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    std::vector<std::string> messages = editLimb(object, "Chest", [&](Script& script) {
        script
            .on("Part Adjust",
                [&](WindowHandle dialog) {
                    type(dialog, 1019, "4");
                    type(dialog, 1013, "44");
                    type(dialog, 1019, "-");
                })
            .on(kMessage, [](WindowHandle box) { acceptMessage(box); })
            .on("Part Adjust", [&](WindowHandle dialog) {
                EXPECT_EQ(text(dialog, 1019), "4");
                EXPECT_EQ(value(f, 7, 4), 44) << "the rotation went to the frame shown";
                click(dialog, 2);
            });
    });
    EXPECT_EQ(messages,
              std::vector<std::string>{"Part Adjust: Please enter a whole number of 0 or more."});
}

// Texts longer than the limb's fields are cut as they are copied; offsets are narrowed to floats.
TEST_F(PartAdjustTest, OkCopiesNameAssociationAndOffsetCutToFit) {
    int object = load(smallFigure(), false);
    Limb* leg = figure(object)->rootLimb()->children[1];
    editLimb(object, "Leg", [&](Script& script) {
        script.on("Part Adjust", [&](WindowHandle dialog) {
            type(dialog, 1003, "AVeryLongLimbNameIndeed");
            type(dialog, 1004, std::string(50, 'm'));
            type(dialog, 1016, "0.5");
            type(dialog, 1017, "1e3");
            type(dialog, 1018, "-2");
            click(dialog, 1);
        });
    });
    EXPECT_STREQ(leg->name, "AVeryLongLimbNa");
    EXPECT_EQ(std::string(leg->mapName), std::string(43, 'm'));
    EXPECT_FLOAT_EQ(leg->offset.x, 0.5f);
    EXPECT_FLOAT_EQ(leg->offset.y, 1000.0f);
    EXPECT_FLOAT_EQ(leg->offset.z, -2.0f);
}

// Names are the module's bytes: one above 127 shows (as Latin-1 on Qt, in the code page on
// Windows), and comes back byte for byte when Part Adjust closes with OK unedited; typed, it is
// stored as typed.
TEST_F(PartAdjustTest, NamesWithBytesAbove127ComeBackAsTheyWere) {
    const char* const knee =
        "Kn\xe9"
        "e";
    const char* const map = "\xe0 la carte";
    for (const char* typed : {static_cast<const char*>(nullptr), "\xc0rm\xe9"}) {
        int object = load(smallFigure(), false);
        Limb* leg = figure(object)->rootLimb()->children[1];
        std::strcpy(leg->name, knee);
        std::strcpy(leg->mapName, map);
        editLimb(object, knee, [&](Script& script) {
            script.on("Part Adjust", [&](WindowHandle dialog) {
                EXPECT_EQ(text(dialog, 1003), knee);
                EXPECT_EQ(text(dialog, 1004), map);
                if (typed != nullptr)
                    type(dialog, 1003, typed);
                click(dialog, 1);
            });
        });
        EXPECT_STREQ(leg->name, typed != nullptr ? typed : knee);
        EXPECT_STREQ(leg->mapName, map);
    }
}

// Offsets show the float's own shortest form, and OK without edits keeps them bit for bit.
TEST_F(PartAdjustTest, OffsetsShowShortAndComeBackUnchanged) {
    int object = load(smallFigure(), false);
    Limb* leg = figure(object)->rootLimb()->children[1];
    leg->offset = PiPoint{5.21f, -0.1f, 1e-7f};
    const PiPoint before = leg->offset;
    editLimb(object, "Leg", [&](Script& script) {
        script.on("Part Adjust", [&](WindowHandle dialog) {
            EXPECT_EQ(text(dialog, 1016), "5.21");
            EXPECT_EQ(text(dialog, 1017), "-0.1");
            EXPECT_EQ(text(dialog, 1018), "1e-07");
            click(dialog, 1);
        });
    });
    EXPECT_EQ(std::memcmp(&leg->offset, &before, sizeof before), 0);
}

}  // namespace
}  // namespace ui_test
