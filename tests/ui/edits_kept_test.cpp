// Edits made in the sheet are kept where they were made: rotations in the edited limb's own
// channels, figures loaded or built beside the one the sheet was opened for, names as typed. Run
// against both toolkits.
#include <cmath>
#include <cstring>
#include <utility>

#include "ui_fixture.h"

namespace ui_test {
namespace {

using EditsKeptTest = SheetTest;
using Step = std::function<void(WindowHandle)>;

// On the Configure page: selects a limb (unless null), then presses a button.
Step press(int id, const char* select = nullptr) {
    return [=](WindowHandle sheet) {
        WindowHandle configure = openPage(sheet, "Configure");
        if (select != nullptr)
            clickLimb(configure, select);
        click(configure, id);
    };
}
// In a dialog: types into fields, then presses a button.
Step fill(std::vector<std::pair<int, std::string>> fields, int then) {
    return [=](WindowHandle window) {
        for (const auto& [id, typed] : fields)
            type(window, id, typed);
        click(window, then);
    };
}
// The sheet's own button.
Step closeSheet(int id) {
    return [=](WindowHandle sheet) { clickSheetButton(sheet, id); };
}

Limb* find(Limb* limb, const char* name) {
    if (limb == nullptr || std::strcmp(limb->name, name) == 0)
        return limb;
    for (uint32_t i = 0; i < limb->childCount; ++i)
        if (Limb* found = find(limb->children[i], name))
            return found;
    return nullptr;
}

// The limb's own channel of a type, as its declaration gives it; -1 for none.
int ownChannel(const FigureData* figure, const Limb* limb, ChannelType type) {
    for (uint32_t c = 0; limb != nullptr && c < limb->declaredChannels; ++c)
        if (figure->motion->channels[limb->firstChannel + c].type == type)
            return static_cast<int>(limb->firstChannel + c);
    return -1;
}

// Part Adjust stores rotations only in the edited limb's own channels: a BioVision root's stand
// after its positions; a limb made by Add Limb (firstChannel 0, the root's) gets three of its own,
// in a new motion if the figure had none. No other channel moves.
TEST_F(EditsKeptTest, RotationsGoIntoTheEditedLimbsOwnChannels) {
    const struct {
        bool loaded;       // the small figure, or a sheet without an object
        const char* limb;  // "New" is made with Add Limb first
        int xChannel, channels;
        const char* atFrame3;  // X shown at frame 3; a new motion shows its last frame
    } cases[] = {
        {true, "Hips", 4, 15, "403"}, {true, "New", 16, 18, "0"}, {false, "New", 1, 3, "45"}};
    for (const auto& c : cases) {
        int object = c.loaded ? load(smallFigure(), false) : -1;
        Script script;
        script.on("Settings", press(1003))
            .on("Part Adjust", fill({{1003, "New"}}, 1))
            .on("Settings", press(1002, c.limb))
            .on("Part Adjust",
                [&](WindowHandle dialog) {
                    fill({{1019, "2"}, {1013, "45"}}, 1021)(dialog);
                    fill({{1019, "3"}}, 1021)(dialog);
                    EXPECT_EQ(text(dialog, 1013), c.atFrame3) << c.limb;
                    click(dialog, 1);
                })
            .on("Settings", closeSheet(1));
        settings(object, script);
        FigureData* f = figure(c.loaded ? object : standin::scene().objects.back().handle);
        ASSERT_TRUE(f != nullptr && f->motion != nullptr);
        EXPECT_EQ(ownChannel(f, find(f->rootLimb(), c.limb), kChannelXRotation), c.xChannel);
        EXPECT_EQ(f->motion->channelCount(), c.channels) << c.limb;
        for (int channel = 0; channel < (c.loaded ? 15 : 3); ++channel) {
            double expected = channel == c.xChannel ? 45 : c.loaded ? channel * 100 + 2 : 0;
            EXPECT_EQ(value(f, channel, 2), expected) << c.limb << " " << channel;
        }
        EXPECT_TRUE(errors().empty()) << errors().front();
    }
}

// The rotations shown when Add Limb's dialog closes with OK go into the new limb's own channels;
// Cancel adds no limb and no channel.
TEST_F(EditsKeptTest, AddLimbKeepsTheRotationsShownOnOk) {
    for (int closeWith : {1, 2}) {
        int object = load(smallFigure(), false);
        Script script;
        script.on("Settings", press(1003))
            .on("Part Adjust", fill({{1003, "New"}, {1019, "3"}, {1013, "30"}}, closeWith))
            .on("Settings", closeSheet(1));
        settings(object, script);
        FigureData* f = figure(object);
        EXPECT_EQ(f->motion->channelCount(), closeWith == 1 ? 18 : 15);
        if (closeWith == 1) {
            int x = ownChannel(f, find(f->rootLimb(), "New"), kChannelXRotation);
            EXPECT_EQ(x, 16);
            EXPECT_EQ(value(f, x, 3), 30.0);
        }
    }
}

// A rotation with nowhere to go is reported, not dropped: a frame past the motion's last, an axis
// the limb has no channel for (the channels it has still take theirs).
TEST_F(EditsKeptTest, RotationsWithNowhereToGoAreReported) {
    const struct {
        const char* frame;
        int field;
        const char* error;
        double stored;  // the Zrotation at frame 2 afterwards
    } cases[] = {
        {"300", 1015, "Unable to store rotations at frame 300: the motion ends at frame 255", 0},
        {"2", 1013, "Unable to store the X rotation of Hips: it has no Xrotation channel", 30},
    };
    for (const auto& c : cases) {
        int object = load(dir.write("turn.fig", "ROOT Hips\n{\nCHANNELS 1 Zrotation\n}\n"), false);
        Script script;
        script.on("Settings", press(1002, "Hips"))
            .on("Part Adjust", fill({{1019, c.frame}, {1015, "30"}, {c.field, "45"}}, 1))
            .on("Settings", closeSheet(1));
        const size_t before = errors().size();
        settings(object, script);
        std::vector<std::string> all = errors();
        EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()),
                  std::vector<std::string>{c.error});
        EXPECT_EQ(value(figure(object), 0, 2), c.stored) << c.frame;
    }
}

// A limb given channels of its own is posed, saved and read back with them.
TEST_F(EditsKeptTest, AddedRotationChannelsArePosedSavedAndReadBack) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    Limb* toe = f->rootLimb()->children[1]->children[0];  // an End Site: no channels
    toe->name[0] = 'T';  // "Tnd" is written as a joint, which keeps its channels
    Script script;
    script.on("Settings", press(1002, "Tnd"))
        .on("Part Adjust", fill({{1019, "4"}, {1015, "90"}}, 1))
        .on("Settings", closeSheet(1));
    settings(object, script);
    PluginCall pose{};
    pose.callValue = 4;
    pose.objectHandle = object;
    module().Fig(512, 0, &pose);
    EXPECT_FLOAT_EQ(toe->rotation.z, static_cast<float>(std::atan(1.0) * 2));

    std::string saved = dir.path("kept");
    ASSERT_EQ(f->save(saved.c_str()), 1);
    FigureData* back = figure(load(saved + ".fig", false));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(value(back, ownChannel(back, find(back->rootLimb(), "Tnd"), kChannelZRotation), 4),
              90);
    EXPECT_EQ(value(back, ownChannel(back, find(back->rootLimb(), "Leg"), kChannelZRotation), 4),
              1204);
}

// Load Figure loads into a figure of its own in a new object, and the page goes on with that one
// (Generate draws there): the sheet's figure keeps its new limb, motion, drawing and, on OK, the
// style chosen. A load that makes no object leaves the page as it was.
TEST_F(EditsKeptTest, LoadFigureLeavesTheSheetsFigureAlone) {
    for (bool objectFails : {false, true}) {
        int object = load(smallFigure(), false);
        std::string walk = smallFigure("walk.bvh");
        const size_t drawn = standin::object(object)->geometry.size();
        const size_t objects = standin::scene().objects.size();
        Script script;
        script.on("Settings", press(1003))
            .on("Part Adjust", fill({{1003, "New"}}, 1))
            .on("Settings",
                [&](WindowHandle sheet) {
                    standin::Faults faults;
                    faults.createObjectFailsFrom = objectFails ? 1 : 0;
                    standin::setFaults(faults);
                    press(1010)(sheet);
                })
            .on("Load Figure Data", [&](WindowHandle files) { chooseFile(files, 2, walk); })
            .on("Settings", [&](WindowHandle sheet) {
                standin::setFaults(standin::Faults());
                click(openPage(sheet, "Settings"), 1098);
                EXPECT_EQ(limbList(openPage(sheet, "Configure")),
                          objectFails ? "Hips[Chest[Arm[End]],Leg[End],New]"
                                      : "Hips[Chest[Arm[End]],Leg[End]]");
                press(1005)(sheet);
                clickSheetButton(sheet, 1);
            });
        settings(object, script);
        FigureData* kept = figure(object);
        EXPECT_EQ(limbText(kept->rootLimb()), "Hips[Chest[.x[Arm[End]]],Leg[End],New]");
        EXPECT_EQ(kept->motion->frameCount, 10u);
        EXPECT_EQ(kept->segmentStyle, 2);
        ASSERT_EQ(standin::scene().objects.size(), objects + (objectFails ? 0 : 1));
        if (objectFails)
            continue;
        EXPECT_EQ(standin::object(object)->geometry.size(), drawn) << "its drawing untouched";
        const standin::SceneObject& made = standin::scene().objects.back();
        EXPECT_EQ(limbText(figure(made.handle)->rootLimb()), "Hips[Chest[.x[Arm[End]]],Leg[End]]");
        EXPECT_EQ(figure(made.handle)->segmentStyle, 1);
        EXPECT_GT(made.count(2), 0u) << "Generate drew the loaded figure into its own object";
    }
}

// A figure built with no object (or object 0) becomes a new object "figure" bound to the builder
// when the sheet closes with OK or Cancel, or when Load Figure follows; drawn unposed in its
// style (on OK the one chosen). An empty one leaves nothing behind.
TEST_F(EditsKeptTest, FigureBuiltWithoutAnObjectIsKept) {
    const struct {
        int object, closeWith;
        bool deleteAgain, loadAfter;
        int style;
    } cases[] = {{-1, 1, false, false, 0},
                 {0, 2, false, false, 1},
                 {-1, 1, true, false, 0},
                 {-1, 2, false, true, 1}};
    for (const auto& c : cases) {
        const size_t objects = standin::scene().objects.size();
        std::string walk = smallFigure("walk.bvh");
        Script script;
        script.on("Settings", press(1003))
            .on("Part Adjust", fill({{1003, "Body"}, {1017, "3"}}, 1))
            .on("Settings", [&](WindowHandle sheet) {
                click(openPage(sheet, "Settings"), 1096);
                if (c.deleteAgain)
                    press(1004, "Body")(sheet);
                c.loadAfter ? press(1010)(sheet) : clickSheetButton(sheet, c.closeWith);
            });
        if (c.loadAfter) {
            script.on("Load Figure Data", [&](WindowHandle files) { chooseFile(files, 2, walk); })
                .on("Settings", closeSheet(c.closeWith));
        }
        settings(c.object, script);
        EXPECT_TRUE(errors().empty()) << errors().front();
        size_t made = (c.deleteAgain ? 0 : 1) + (c.loadAfter ? 1 : 0);
        ASSERT_EQ(standin::scene().objects.size(), objects + made);
        if (c.deleteAgain)
            continue;
        const standin::SceneObject& kept = standin::scene().objects.back();
        EXPECT_EQ(kept.name + " " + kept.boundLabel, "figure Figure builder");
        EXPECT_EQ(limbText(figure(kept.handle)->rootLimb()), ".[Body]");
        EXPECT_EQ(figure(kept.handle)->segmentStyle, c.style);
        // The root's one segment, to Body's joint: a line, or a cylinder's triangles.
        EXPECT_EQ(kept.count(2), c.style == 0 ? 1u : 0u);
        EXPECT_EQ(kept.count(3) > 0, c.style == 1);
    }
}

// Delete of the root takes the freed tree's motion with it: a figure rebuilt by hand is saved as
// built, not with the old motion's columns under its new channel lines.
TEST_F(EditsKeptTest, FigureRebuiltAfterDeletingTheRootSavesAsBuilt) {
    int object = load(smallFigure(), false);
    Script script;
    script
        .on("Settings", [](WindowHandle sheet) { press(1004, "Hips")(sheet), press(1003)(sheet); })
        .on("Part Adjust", fill({{1003, "Solo"}, {1017, "2"}}, 1))
        .on("Settings", closeSheet(1));
    settings(object, script);
    std::string saved = dir.path("rebuilt");
    ASSERT_EQ(figure(object)->save(saved.c_str()), 1);
    FigureData* back = figure(load(saved + ".fig", false));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(limbText(back->rootLimb()), ".[Solo]");
    for (int c = 0; c < back->motion->channelCount(); ++c)
        EXPECT_EQ(value(back, c, 0), 0.0) << "channel " << c;
}

// After Part Adjust's OK the list shows the new name at once; every refill (Edit, Delete, Add
// Limb) keeps the branches the user opened open, with nothing selected.
TEST_F(EditsKeptTest, ListShowsTheNewNameAndKeepsOpenBranchesOpen) {
    int object = load(smallFigure(), false);
    auto shows = [](const char* listed) {
        return [listed](WindowHandle sheet) {
            WindowHandle configure = openPage(sheet, "Configure");
            EXPECT_EQ(limbList(configure), listed);
            EXPECT_EQ(openLimbs(configure), "Hips Chest ");
            EXPECT_EQ(selectedLimb(configure), "");
        };
    };
    Script script;
    script
        .on("Settings", [](WindowHandle sheet) { press(1002, "Arm")(sheet); })  // opens Hips, Chest
        .on("Part Adjust", fill({{1003, "Hand"}}, 1))
        .on("Settings",
            [&](WindowHandle sheet) {
                shows("Hips[Chest[Hand[End]],Leg[End]]")(sheet);
                press(1004, "Leg")(sheet);
                shows("Hips[Chest[Hand[End]]]")(sheet);
                press(1003)(sheet);
            })
        .on("Part Adjust", fill({{1003, "Tail"}}, 1))
        .on("Settings", [&](WindowHandle sheet) {
            shows("Hips[Chest[Hand[End]],Tail]")(sheet);
            clickSheetButton(sheet, 1);
        });
    settings(object, script);
}

// Part Name and Associate With take no more than the limb keeps: more is refused as it is typed,
// so what OK copies is what the edit shows.
TEST_F(EditsKeptTest, NamesTakeNoMoreThanTheLimbKeeps) {
    const struct {
        int id, typed, kept;
    } cases[] = {{1003, 15, 15}, {1003, 20, 15}, {1004, 43, 43}, {1004, 60, 43}};
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        Script script;
        script.on("Settings", press(1002, "Leg")).on("Part Adjust", [&](WindowHandle dialog) {
            type(dialog, c.id, std::string(c.typed, 'n'));
            EXPECT_EQ(text(dialog, c.id), std::string(c.kept, 'n'));
            click(dialog, 1);
        });
        script.on("Settings", closeSheet(1));
        settings(object, script);
        EXPECT_TRUE(script.messages().empty());
        Limb* leg = figure(object)->rootLimb()->children[1];
        EXPECT_EQ(c.id == 1003 ? leg->name : leg->mapName, std::string(c.kept, 'n')) << c.typed;
    }
}

}  // namespace
}  // namespace ui_test
