// Edits made in the sheet are kept where they were made: rotations in the edited limb's own
// channels, figures loaded or built beside the one the sheet was opened for, names as typed.
#include <QMessageBox>
#include <cmath>
#include <cstring>

#include "ui_fixture.h"

namespace ui_test {
namespace {

using EditsKeptTest = SheetTest;

// The limb of that name below limb, in pre-order; null for none.
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
    for (uint32_t c = 0; figure->motion != nullptr && c < limb->declaredChannels; ++c)
        if (figure->motion->channels[limb->firstChannel + c].type == type)
            return static_cast<int>(limb->firstChannel + c);
    return -1;
}

// Part Adjust stores typed rotations only into the edited limb's own rotation channels: a
// BioVision root's stand after its positions, a limb made by Add Limb gets three of its own
// (whether or not the figure had a motion), and no other channel moves.
TEST_F(EditsKeptTest, RotationsGoIntoTheEditedLimbsOwnChannels) {
    const struct {
        bool loaded;       // the small figure, or a sheet without an object
        const char* limb;  // the limb edited; "New" is made with Add Limb first
        int xChannel;
        int channels;          // the motion's channels afterwards
        const char* atFrame3;  // X shown at frame 3: the last frame of a new motion shows
    } cases[] = {
        {true, "Hips", 4, 15, "403"}, {true, "New", 16, 18, "0"}, {false, "New", 1, 3, "45"}};
    for (const auto& c : cases) {
        int object = c.loaded ? load(smallFigure(), false) : -1;
        FigureData* made = nullptr;
        Script script;
        script
            .on("Settings", [&](QWidget* sheet) { click(button(page(sheet, "Configure"), 1003)); })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, 1003), "New");
                    click(button(dialog, 1));
                })
            .on("Settings",
                [&](QWidget* sheet) {
                    QWidget* configure = page(sheet, "Configure");
                    clickItem(tree(configure), c.limb);
                    click(button(configure, 1002));
                })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, 1019), "2");
                    type(edit(dialog, 1013), "45");
                    click(button(dialog, 1021));
                    EXPECT_EQ(edit(dialog, 1013)->text(), "45");
                    type(edit(dialog, 1019), "3");
                    EXPECT_EQ(edit(dialog, 1013)->text(), c.atFrame3) << c.limb;
                    click(button(dialog, 2));
                })
            .on("Settings", [&](QWidget* sheet) { click(button(sheet, 1)); });
        settings(object, script);
        made = figure(object != -1 ? object : standin::scene().objects.back().handle);
        ASSERT_NE(made, nullptr);
        ASSERT_NE(made->motion, nullptr);
        Limb* edited = find(made->rootLimb(), c.limb);
        ASSERT_NE(edited, nullptr);
        EXPECT_EQ(ownChannel(made, edited, kChannelXRotation), c.xChannel) << c.limb;
        EXPECT_EQ(made->motion->channelCount(), c.channels) << c.limb;
        EXPECT_EQ(value(made, c.xChannel, 2), 45.0) << c.limb;
        for (int channel = 0; c.loaded && channel < 15; ++channel) {
            if (channel != c.xChannel) {
                EXPECT_EQ(value(made, channel, 2), channel * 100 + 2) << c.limb << " " << channel;
            }
        }
        EXPECT_TRUE(errors().empty()) << errors().front();
    }
}

// A rotation that has nowhere to go is reported, not dropped: a frame past the motion's last, an
// axis the limb declared no channel for. The channels it has still take their values.
TEST_F(EditsKeptTest, RotationsWithNowhereToGoAreReported) {
    const struct {
        const char* frame;
        int field;
        const char* error;
        double stored;  // Hips' Zrotation at frame 2 afterwards
    } cases[] = {
        {"300", 1015, "Unable to store rotations at frame 300: the motion ends at frame 255", 0},
        {"2", 1013, "Unable to store the X rotation of Hips: it has no Xrotation channel", 30},
    };
    for (const auto& c : cases) {
        std::string path = dir.write("turn.fig",
                                     "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Zrotation\n"
                                     "End Site\n{\nOFFSET 0 1 0\n}\n}\n");
        int object = load(path, false);
        Script script;
        script
            .on("Settings",
                [&](QWidget* sheet) {
                    QWidget* configure = page(sheet, "Configure");
                    clickItem(tree(configure), "Hips");
                    click(button(configure, 1002));
                })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, 1019), c.frame);
                    type(edit(dialog, 1015), "30");
                    type(edit(dialog, c.field), "45");
                    click(button(dialog, 1));
                })
            .on("Settings", [&](QWidget* sheet) { click(button(sheet, 1)); });
        const size_t before = errors().size();
        settings(object, script);
        std::vector<std::string> all = errors();
        EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()),
                  std::vector<std::string>{c.error});
        EXPECT_EQ(value(figure(object), 0, 2), c.stored) << c.frame;
    }
}

// A limb given its own channels is posed with them, saved with them and read back with them.
TEST_F(EditsKeptTest, AddedRotationChannelsArePosedSavedAndReadBack) {
    int object = load(smallFigure(), false);
    FigureData* f = figure(object);
    Limb* leg = f->rootLimb()->children[1];
    Limb* toe = leg->children[0];  // an End Site: no channels
    toe->name[0] = 'T';            // written as a joint, so that it keeps its channels
    Script script;
    script
        .on("Settings",
            [&](QWidget* sheet) {
                QWidget* configure = page(sheet, "Configure");
                clickItem(tree(configure), "Tnd");
                click(button(configure, 1002));
            })
        .on("Part Adjust",
            [&](QWidget* dialog) {
                type(edit(dialog, 1019), "4");
                type(edit(dialog, 1015), "90");
                click(button(dialog, 1));
            })
        .on("Settings", [&](QWidget* sheet) { click(button(sheet, 1)); });
    settings(object, script);
    PluginCall pose{};
    pose.callValue = 4;
    pose.objectHandle = object;
    module().Fig(512, 0, &pose);
    EXPECT_FLOAT_EQ(toe->rotation.z, static_cast<float>(std::atan(1.0) * 2));
    EXPECT_FLOAT_EQ(leg->rotation.z, static_cast<float>((1200 + 4) * std::atan(1.0) / 45));

    std::string saved = dir.path("kept");
    ASSERT_EQ(f->save(saved.c_str()), 1);
    FigureData* back = figure(load(saved + ".fig", false));
    ASSERT_NE(back, nullptr);
    Limb* readToe = find(back->rootLimb(), "Tnd");
    ASSERT_NE(readToe, nullptr);
    EXPECT_EQ(value(back, ownChannel(back, readToe, kChannelZRotation), 4), 90.0);
    EXPECT_EQ(value(back, ownChannel(back, find(back->rootLimb(), "Leg"), kChannelZRotation), 4),
              1204.0);
}

// Load Figure loads into a figure of its own in a new object and the page goes on with that one:
// the figure the sheet was opened for keeps its tree with the limb just added, its motion, its
// drawing and, on OK, the style chosen. A load that makes no object leaves the page as it was.
TEST_F(EditsKeptTest, LoadFigureLeavesTheSheetsFigureAlone) {
    const struct {
        bool objectFails;
        const char* listed;  // the list after the load
    } cases[] = {{false, "Hips[Chest[Arm[End]],Leg[End]]"},
                 {true, "Hips[Chest[Arm[End]],Leg[End],New]"}};
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        std::string walk = smallFigure("walk.bvh");
        const size_t drawn = standin::object(object)->geometry.size();
        const size_t objects = standin::scene().objects.size();
        Script script;
        script
            .on("Settings", [&](QWidget* sheet) { click(button(page(sheet, "Configure"), 1003)); })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, 1003), "New");
                    click(button(dialog, 1));
                })
            .on("Settings",
                [&](QWidget* sheet) {
                    standin::Faults faults;
                    faults.createObjectFailsFrom = c.objectFails ? 1 : 0;
                    standin::setFaults(faults);
                    click(button(page(sheet, "Configure"), 1010));
                })
            .on("Load Figure Data", [&](QWidget* files) { chooseFile(files, 2, walk); })
            .on("Settings", [&](QWidget* sheet) {
                standin::setFaults(standin::Faults());
                click(button(showPage(sheet, "Settings"), 1098));
                QWidget* configure = showPage(sheet, "Configure");
                EXPECT_EQ(treeText(tree(configure)), c.listed);
                if (!c.objectFails)
                    click(button(configure, 1005));
                click(button(sheet, 1));
            });
        settings(object, script);
        FigureData* kept = figure(object);
        EXPECT_EQ(limbText(kept->rootLimb()), "Hips[Chest[.x[Arm[End]]],Leg[End],New]");
        EXPECT_EQ(kept->motion->frameCount, 10u);
        EXPECT_EQ(kept->segmentStyle, 2);
        EXPECT_EQ(standin::object(object)->geometry.size(), drawn) << "its drawing untouched";
        ASSERT_EQ(standin::scene().objects.size(), objects + (c.objectFails ? 0 : 1));
        if (c.objectFails)
            continue;
        const standin::SceneObject& made = standin::scene().objects.back();
        EXPECT_EQ(limbText(figure(made.handle)->rootLimb()), "Hips[Chest[.x[Arm[End]]],Leg[End]]");
        EXPECT_EQ(figure(made.handle)->segmentStyle, 1);
        EXPECT_GT(made.count(2), 0u) << "Generate drew the loaded figure into its own object";
    }
}

// A figure built with no object (or the host's object 0) becomes a new object "figure" bound to
// the builder when the sheet closes, with OK or Cancel, drawn unposed in its style (the one
// chosen, on OK); an empty one (its limbs deleted again) leaves nothing behind.
TEST_F(EditsKeptTest, FigureBuiltWithoutAnObjectIsKept) {
    const struct {
        int object;
        int closeWith;
        bool deleteAgain;
        bool loadAfter;  // Load Figure after building: the built figure is kept then
        int style;
    } cases[] = {{-1, 1, false, false, 0},
                 {0, 2, false, false, 1},
                 {-1, 1, true, false, 0},
                 {-1, 2, false, true, 1}};
    for (const auto& c : cases) {
        const size_t objects = standin::scene().objects.size();
        std::string walk = smallFigure("walk.bvh");
        Script script;
        script
            .on("Settings", [&](QWidget* sheet) { click(button(page(sheet, "Configure"), 1003)); })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, 1003), "Body");
                    type(edit(dialog, 1017), "3");
                    click(button(dialog, 1));
                })
            .on("Settings", [&](QWidget* sheet) {
                click(button(showPage(sheet, "Settings"), 1096));
                QWidget* configure = showPage(sheet, "Configure");
                if (c.deleteAgain) {
                    clickItem(tree(configure), "Body");
                    click(button(configure, 1004));
                }
                click(c.loadAfter ? button(configure, 1010) : button(sheet, c.closeWith));
            });
        if (c.loadAfter) {
            script.on("Load Figure Data", [&](QWidget* files) { chooseFile(files, 2, walk); })
                .on("Settings", [&](QWidget* sheet) { click(button(sheet, c.closeWith)); });
        }
        settings(c.object, script);
        EXPECT_TRUE(errors().empty()) << errors().front();
        size_t made = (c.deleteAgain ? 0 : 1) + (c.loadAfter ? 1 : 0);
        ASSERT_EQ(standin::scene().objects.size(), objects + made);
        if (c.deleteAgain)
            continue;
        const standin::SceneObject& kept = standin::scene().objects.back();
        EXPECT_EQ(kept.name, "figure");
        EXPECT_EQ(kept.boundLabel, "Figure builder");
        FigureData* built = figure(kept.handle);
        ASSERT_NE(built, nullptr);
        EXPECT_EQ(limbText(built->rootLimb()), ".[Body]");
        EXPECT_EQ(built->segmentStyle, c.style);
        // The root's one segment, to Body's joint: a line, or a cylinder's triangles.
        EXPECT_EQ(kept.count(2), c.style == 0 ? 1u : 0u);
        EXPECT_EQ(kept.count(3) > 0, c.style == 1);
    }
}

// Delete of the root takes the motion of the freed tree with it: a figure rebuilt by hand is then
// saved as built, not with the old motion's columns under its new channel lines.
TEST_F(EditsKeptTest, FigureRebuiltAfterDeletingTheRootSavesAsBuilt) {
    int object = load(smallFigure(), false);
    Script script;
    script
        .on("Settings",
            [&](QWidget* sheet) {
                QWidget* configure = page(sheet, "Configure");
                clickItem(tree(configure), "Hips");
                click(button(configure, 1004));
                click(button(configure, 1003));
            })
        .on("Part Adjust",
            [&](QWidget* dialog) {
                type(edit(dialog, 1003), "Solo");
                type(edit(dialog, 1017), "2");
                click(button(dialog, 1));
            })
        .on("Settings", [&](QWidget* sheet) { click(button(sheet, 1)); });
    settings(object, script);
    std::string saved = dir.path("rebuilt");
    ASSERT_EQ(figure(object)->save(saved.c_str()), 1);
    FigureData* back = figure(load(saved + ".fig", false));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(limbText(back->rootLimb()), ".[Solo]");
    for (int c = 0; c < back->motion->channelCount(); ++c)
        EXPECT_EQ(value(back, c, 0), 0.0) << "channel " << c;
}

// The names of the tree's expanded items, in pre-order.
std::string expandedText(QTreeWidget* limbs) {
    std::string out;
    for (QTreeWidgetItem* item : limbs->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive)) {
        if (item->isExpanded())
            out += item->text(0).toStdString() + " ";
    }
    return out;
}

// After Part Adjust's OK the list shows the new name at once; every refill (Edit, Add Limb,
// Delete) keeps the branches the user opened open, with nothing selected.
TEST_F(EditsKeptTest, ListShowsTheNewNameAndKeepsOpenBranchesOpen) {
    int object = load(smallFigure(), false);
    Script script;
    auto check = [](const char* listed) {
        return [listed](QWidget* sheet) {
            QTreeWidget* limbs = tree(page(sheet, "Configure"));
            EXPECT_EQ(treeText(limbs), listed);
            EXPECT_EQ(expandedText(limbs), "Hips Chest ");
            EXPECT_TRUE(limbs->selectedItems().isEmpty());
        };
    };
    script
        .on("Settings",
            [&](QWidget* sheet) {
                QWidget* configure = page(sheet, "Configure");
                clickItem(tree(configure), "Arm");  // opens Hips and Chest
                clickItem(tree(configure), "Leg");
                click(button(configure, 1002));
            })
        .on("Part Adjust",
            [&](QWidget* dialog) {
                type(edit(dialog, 1003), "Thigh");
                click(button(dialog, 1));
            })
        .on("Settings",
            [&](QWidget* sheet) {
                check("Hips[Chest[Arm[End]],Thigh[End]]")(sheet);
                QWidget* configure = page(sheet, "Configure");
                clickItem(tree(configure), "Thigh");
                click(button(configure, 1004));
                check("Hips[Chest[Arm[End]]]")(sheet);
                click(button(configure, 1003));
            })
        .on("Part Adjust",
            [&](QWidget* dialog) {
                type(edit(dialog, 1003), "Tail");
                click(button(dialog, 1));
            })
        .on("Settings", [&](QWidget* sheet) {
            check("Hips[Chest[Arm[End]],Tail]")(sheet);
            click(button(sheet, 1));
        });
    settings(object, script);
}

// Part Name and Associate With take no more characters than the limb keeps: more is refused as
// it is typed, so what OK copies is what the edit shows.
TEST_F(EditsKeptTest, NamesTakeNoMoreThanTheLimbKeeps) {
    const struct {
        int id;
        int typed;
        int kept;
    } cases[] = {{1003, 15, 15}, {1003, 20, 15}, {1004, 43, 43}, {1004, 60, 43}};
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        Limb* leg = figure(object)->rootLimb()->children[1];
        QString typed(c.typed, 'n');
        Script script;
        script
            .on("Settings",
                [&](QWidget* sheet) {
                    QWidget* configure = page(sheet, "Configure");
                    clickItem(tree(configure), "Leg");
                    click(button(configure, 1002));
                })
            .on("Part Adjust",
                [&](QWidget* dialog) {
                    type(edit(dialog, c.id), typed);
                    EXPECT_EQ(edit(dialog, c.id)->text(), QString(c.kept, 'n'));
                    click(button(dialog, 1));
                })
            .on("Settings", [&](QWidget* sheet) { click(button(sheet, 1)); });
        settings(object, script);
        EXPECT_TRUE(script.messages().empty());
        std::string kept(static_cast<size_t>(c.kept), 'n');
        EXPECT_EQ(c.id == 1003 ? leg->name : leg->mapName, kept) << c.id << " " << c.typed;
    }
}

}  // namespace
}  // namespace ui_test
