// The "Configure" page: listing, adding, deleting, editing, generating, loading and saving, with
// the limb records checked after each step. Run against both toolkits.
#include <cstdlib>
#include <cstring>

#include "support/temp_dir.h"
#include "ui_fixture.h"

namespace ui_test {
namespace {

using ConfigurePageTest = SheetTest;

// Part Adjust for a new limb: a name, an X offset, then OK (or Cancel).
std::function<void(WindowHandle)> newLimb(const std::string& name, const std::string& offsetX = "0",
                                          int closeWith = 1) {
    return [=](WindowHandle dialog) {
        type(dialog, 1003, name);
        type(dialog, 1016, offsetX);
        click(dialog, closeWith);
    };
}

TEST_F(ConfigurePageTest, ListsLiveLimbsAndSkipsPlaceholders) {
    int object = load(smallFigure(), false);
    ASSERT_NE(object, -1);
    Script script;
    script.on("Settings", [&](WindowHandle sheet) {
        EXPECT_EQ(limbList(openPage(sheet, "Configure")), "Hips[Chest[Arm[End]],Leg[End]]");
        clickSheetButton(sheet, 2);
    });
    settings(object, script);
    // A deleted limb goes with its subtree.
    figure(object)->rootLimb()->children[0]->deleted = 1;
    Script again;
    again.on("Settings", [&](WindowHandle sheet) {
        EXPECT_EQ(limbList(openPage(sheet, "Configure")), "Hips[Leg[End]]");
        clickSheetButton(sheet, 2);
    });
    settings(object, again);
}

// A childCount past the 32 slots (the figure-access exports can leave one) lists the children
// the slots hold and reads nothing beyond them.
TEST_F(ConfigurePageTest, ListsNoMoreChildrenThanTheSlotsHold) {
    for (uint32_t childCount : {33u, 0xFFFFFFFFu}) {
        int object = load(smallFigure(), false);
        ASSERT_NE(object, -1);
        Limb* leg = figure(object)->rootLimb()->children[1];
        std::string toes;
        while (leg->childCount < 32) {
            auto* toe = static_cast<Limb*>(std::calloc(1, sizeof(Limb)));
            std::strcpy(toe->name, "Toe");
            toe->associatedObject = -1;
            leg->children[leg->childCount++] = toe;
            toes += ",Toe";
        }
        leg->childCount = childCount;
        Script script;
        script.on("Settings", [&](WindowHandle sheet) {
            EXPECT_EQ(limbList(openPage(sheet, "Configure")),
                      "Hips[Chest[Arm[End]],Leg[End" + toes + "]]")
                << childCount;
            clickSheetButton(sheet, 2);
        });
        settings(object, script);
        leg->childCount = 32;
    }
}

// Add Limb goes under the selected limb, or under the root with nothing selected; Cancel adds
// nothing. The list is rebuilt with nothing selected.
TEST_F(ConfigurePageTest, AddLimbUnderTheSelectionOrTheRoot) {
    const struct {
        const char* select;
        int closeWith;
        const char* limbs;
        const char* list;
    } cases[] = {
        {nullptr, 1, "Hips[Chest[.x[Arm[End]]],Leg[End],New]",
         "Hips[Chest[Arm[End]],Leg[End],New]"},
        {"Chest", 1, "Hips[Chest[.x[Arm[End]],New],Leg[End]]",
         "Hips[Chest[Arm[End],New],Leg[End]]"},
        {"End", 1, "Hips[Chest[.x[Arm[End[New]]]],Leg[End]]",
         "Hips[Chest[Arm[End[New]]],Leg[End]]"},
        {"Chest", 2, "Hips[Chest[.x[Arm[End]]],Leg[End]]", "Hips[Chest[Arm[End]],Leg[End]]"},
    };
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        Script script;
        script
            .on("Settings",
                [&](WindowHandle sheet) {
                    WindowHandle configure = openPage(sheet, "Configure");
                    if (c.select != nullptr)
                        clickLimb(configure, c.select);
                    click(configure, 1003);
                })
            .on("Part Adjust", newLimb("New", "1.5", c.closeWith))
            .on("Settings", [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), c.list);
                // Cancel leaves the list as it was, selection included.
                EXPECT_EQ(selectedLimb(configure), c.closeWith == 1 || c.select == nullptr
                                                       ? std::string()
                                                       : std::string(c.select));
                clickSheetButton(sheet, 2);
            });
        settings(object, script);
        EXPECT_EQ(limbText(figure(object)->rootLimb()), c.limbs) << (c.select ? c.select : "-");
        if (c.closeWith == 1) {
            Limb* hips = figure(object)->rootLimb();
            const Limb* added = c.select == nullptr ? hips->children[2] : nullptr;
            if (added != nullptr) {
                EXPECT_FLOAT_EQ(added->offset.x, 1.5f);
                EXPECT_DOUBLE_EQ(added->radius, 0.4);
            }
        }
    }
}

// A limb with 32 children takes no more: the message, the new limb released, the tree unchanged.
TEST_F(ConfigurePageTest, AddLimbRefusesAThirtyThirdChild) {
    int object = load(smallFigure(), false);
    Limb* leg = figure(object)->rootLimb()->children[1];
    // Limbs come zero-filled from the general heap, as the module makes them.
    while (leg->childCount < 32) {
        auto* toe = static_cast<Limb*>(std::calloc(1, sizeof(Limb)));
        std::strcpy(toe->name, "Toe");
        toe->associatedObject = -1;
        leg->children[leg->childCount++] = toe;
    }
    Script script;
    script
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                clickLimb(configure, "Leg");
                click(configure, 1003);
            })
        .on("Part Adjust", newLimb("Extra"))
        .on("Settings", [&](WindowHandle sheet) { clickSheetButton(sheet, 1); });
    settings(object, script);
    EXPECT_EQ(leg->childCount, 32u);
    EXPECT_STREQ(leg->children[31]->name, "Toe");
    EXPECT_EQ(errors(), std::vector<std::string>{"Error adding figure limb"});
}

// Delete of a limb hides it and its subtree from the list and the saved file; Delete of the root
// empties both the list and the figure data, and Add Limb then starts a new root "." that the
// figure data saves and poses.
TEST_F(ConfigurePageTest, DeleteThenAddThenSaveAndPose) {
    int object = load(smallFigure(), false);
    std::string saved = dir.path("saved.fig");
    std::string rebuilt = dir.path("rebuilt.fig");
    Script script;
    script
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                clickLimb(configure, "Chest");
                click(configure, 1004);
                EXPECT_EQ(limbList(configure), "Hips[Leg[End]]");
                click(configure, 1023);
            })
        .on("Save Figure Data", [&](WindowHandle files) { chooseFile(files, 1, saved); })
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                clickLimb(configure, "Hips");
                click(configure, 1004);
                EXPECT_EQ(limbList(configure), "");
                EXPECT_EQ(figure(object)->rootLimb(), nullptr);
                // With the root gone there is nothing to save: said, and no file dialog.
                click(configure, 1023);
                EXPECT_EQ(errors(), std::vector<std::string>{"No figure data to save"});
                click(configure, 1003);
            })
        .on("Part Adjust", newLimb("Solo"))
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), "Solo");
                click(configure, 1023);
            })
        .on("Save Figure Data", [&](WindowHandle files) { chooseFile(files, 1, rebuilt); })
        .on("Settings", [&](WindowHandle sheet) { clickSheetButton(sheet, 1); });
    settings(object, script);

    std::string text = testing_support::readFile(saved);
    EXPECT_NE(text.find("Leg"), std::string::npos);
    EXPECT_EQ(text.find("Chest"), std::string::npos);
    EXPECT_EQ(text.find("Arm"), std::string::npos);
    EXPECT_EQ(limbText(figure(object)->rootLimb()), ".[Solo]");
    // A leaf named by hand keeps its name: it is written as a joint, not an end site.
    std::string again = testing_support::readFile(rebuilt);
    EXPECT_NE(again.find("ROOT ."), std::string::npos) << again;
    EXPECT_NE(again.find("JOINT Solo"), std::string::npos) << again;
    EXPECT_EQ(again.find("End Site"), std::string::npos) << again;
    PluginCall pose{};
    pose.callValue = 3;
    pose.objectHandle = object;
    EXPECT_EQ(module().Fig(512, 0, &pose), 1);
    EXPECT_EQ(errors(), std::vector<std::string>{"No figure data to save"});
}

// On an object without a figure, the limbs added by hand have no motion to pose: Generate draws
// them unposed, as lines, at any frame.
TEST_F(ConfigurePageTest, GenerateDrawsAFigureBuiltByHandAsLines) {
    int object = piCreateObject("bare", host::kFigureObjectType);
    ASSERT_NE(object, -1);
    Script script;
    script.on("Settings", [&](WindowHandle sheet) { click(openPage(sheet, "Configure"), 1003); })
        .on("Part Adjust", newLimb("Solo", "2"))
        .on("Settings", [&](WindowHandle sheet) {
            WindowHandle configure = openPage(sheet, "Configure");
            type(configure, 1019, "5");
            click(configure, 1005);
            EXPECT_EQ(standin::object(object)->count(2), 1u);
            EXPECT_EQ(standin::object(object)->count(3), 0u);
            clickSheetButton(sheet, 2);
        });
    settings(object, script);
    EXPECT_TRUE(errors().empty()) << errors().front();
}

// Without an object and without figure data, Save Figure has nothing to save until a limb is
// added: Add Limb then makes a figure data that Save Figure writes.
TEST_F(ConfigurePageTest, BuildingByHandWithoutAFigure) {
    std::string saved = dir.path("built");
    Script script;
    script
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                click(configure, 1023);
                EXPECT_EQ(errors(), std::vector<std::string>{"No figure data to save"});
                click(configure, 1003);
            })
        .on("Part Adjust", newLimb("Body", "2"))
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                clickLimb(configure, "Body");
                click(configure, 1003);
            })
        .on("Part Adjust", newLimb("Head"))
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), "Body[Head]");
                click(configure, 1023);
            })
        .on("Save Figure Data", [&](WindowHandle files) { chooseFile(files, 1, saved); })
        .on("Settings", [&](WindowHandle sheet) { clickSheetButton(sheet, 1); });
    settings(-1, script);
    std::string text = testing_support::readFile(saved + ".fig");
    // Head, which has no children, keeps its name as a joint of its own.
    EXPECT_NE(text.find("JOINT Body"), std::string::npos) << text;
    EXPECT_NE(text.find("OFFSET 2 0 0"), std::string::npos) << text;
    EXPECT_NE(text.find("JOINT Head"), std::string::npos) << text;
    EXPECT_EQ(text.find("End Site"), std::string::npos) << text;
}

// Generate draws into the sheet's object: frame 0 unposed as lines whatever the style, a later
// frame posed in the figure's style; without an object it draws nothing.
TEST_F(ConfigurePageTest, GenerateDrawsTheFrame) {
    const struct {
        const char* frame;
        bool withObject;
        size_t lines;
        bool triangles;
    } cases[] = {{"0", true, 6, false}, {"5", true, 0, true}, {"5", false, 0, false}};
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        ASSERT_EQ(figure(object)->segmentStyle, 1);
        size_t objects = standin::scene().objects.size();
        Script script;
        script.on("Settings", [&](WindowHandle sheet) {
            WindowHandle configure = openPage(sheet, "Configure");
            type(configure, 1019, c.frame);
            click(configure, 1005);
            clickSheetButton(sheet, 2);
        });
        settings(c.withObject ? object : -1, script);
        EXPECT_EQ(standin::scene().objects.size(), objects);
        const standin::SceneObject* drawn = standin::object(object);
        if (!c.withObject)
            continue;
        EXPECT_EQ(drawn->count(2), c.lines) << "frame " << c.frame;
        EXPECT_EQ(drawn->count(3) > 0, c.triangles) << "frame " << c.frame;
    }
}

// Load Figure reads the file as the chosen filter says, whatever its name: a .bvh file chosen
// with "All files" is read as a figure file. The figure goes into a new object and stays there
// after the sheet closes.
TEST_F(ConfigurePageTest, LoadFigureFollowsTheChosenFilter) {
    const struct {
        int filter;
        bool withObject;
    } cases[] = {{3, false}, {2, false}, {1, true}};
    for (const auto& c : cases) {
        std::string path = smallFigure("walk.bvh");
        int object = c.withObject ? load(smallFigure(), false) : -1;
        size_t before = standin::scene().objects.size();
        Script script;
        script
            .on("Settings", [&](WindowHandle sheet) { click(openPage(sheet, "Configure"), 1010); })
            .on("Load Figure Data",
                [&](WindowHandle files) {
                    EXPECT_EQ(fileFilters(files),
                              std::vector<std::string>(
                                  {"Figure (*.fig)", "Biovision (*.bvh)", "All files (*.*)"}));
                    chooseFile(files, c.filter, path);
                })
            .on("Settings", [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), "Hips[Chest[Arm[End]],Leg[End]]");
                click(configure, 1005);
                clickSheetButton(sheet, 1);
            });
        settings(object, script);
        EXPECT_TRUE(errors().empty()) << errors().front();
        ASSERT_EQ(standin::scene().objects.size(), before + 1);
        const standin::SceneObject& made = standin::scene().objects.back();
        EXPECT_EQ(made.name, "walk");
        FigureData* loaded = figure(made.handle);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->motion->frameCount, 10u);
    }
}

// The filter chosen in the file dialog, not the file's name, decides how Load Figure reads it:
// "walk" chosen with "All files" is read as walk.fig, with "Biovision" as walk.bvh (missing).
TEST_F(ConfigurePageTest, ANameWithoutExtensionIsReadAsTheFilterSays) {
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

// Load Figure of a file that holds no figure (a picture, an empty file, text without a ROOT) says
// so, makes no object, and the page goes on with the figure it showed, Generate drawing into
// the sheet's object as before.
TEST_F(ConfigurePageTest, LoadFigureOfAFileThatHoldsNoFigureSaysSoAndKeepsThePage) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"pic.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01", 20)},
        {"empty.fig", ""},
        {"notes.txt", "Some notes\nwith no figure in them, { and braces }\n"},
    };
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        const std::string path = dir.write(c.name, c.bytes);
        const size_t objects = standin::scene().objects.size();
        const size_t errorsBefore = errors().size();
        Script script;
        script.on("Settings", [](WindowHandle sheet) { click(openPage(sheet, "Configure"), 1010); })
            .on("Load Figure Data", [&](WindowHandle files) { chooseFile(files, 1, path); })
            .on("Settings", [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), "Hips[Chest[Arm[End]],Leg[End]]") << c.name;
                type(configure, 1019, "5");
                click(configure, 1005);
                clickSheetButton(sheet, 1);
            });
        settings(object, script);
        std::vector<std::string> all = errors();
        EXPECT_EQ(
            std::vector<std::string>(all.begin() + static_cast<long>(errorsBefore), all.end()),
            std::vector<std::string>{path + " holds no figure"});
        EXPECT_EQ(standin::scene().objects.size(), objects) << c.name;
        EXPECT_GT(standin::object(object)->count(3), 0u) << "Generate posed the sheet's object";
    }
}

// Generate's frame goes from 0 to 255: a larger number is refused with a message naming the range
// and nothing is drawn, rather than the rest pose.
TEST_F(ConfigurePageTest, GenerateRefusesFramesPast255) {
    const struct {
        const char* frame;
        bool drawn;
    } cases[] = {{"255", true}, {"256", false}, {"99999", false}};
    for (const auto& c : cases) {
        int object = load(smallFigure(), false);
        int before = -1, after = -1;
        Script script;
        script.on("Settings", [&](WindowHandle sheet) {
            WindowHandle configure = openPage(sheet, "Configure");
            before = standin::scene().redrawCount;
            type(configure, 1019, c.frame);
            click(configure, 1005);
            if (c.drawn) {
                after = standin::scene().redrawCount;
                clickSheetButton(sheet, 1);
            }
        });
        if (!c.drawn) {
            script.on(kMessage, [](WindowHandle box) { acceptMessage(box); })
                .on("Settings", [&](WindowHandle sheet) {
                    after = standin::scene().redrawCount;
                    // The sheet closes once the frame is one it can hold.
                    type(openPage(sheet, "Configure"), 1019, "0");
                    clickSheetButton(sheet, 1);
                });
        }
        settings(object, script);
        EXPECT_EQ(after > before, c.drawn) << c.frame;
        EXPECT_EQ(
            script.messages(),
            c.drawn ? std::vector<std::string>{}
                    : std::vector<
                          std::string>{"Settings: Please enter a whole number between 0 and 255."})
            << c.frame;
    }
}

// Edit and a double click open Part Adjust on the selected limb; with nothing selected, Edit does
// nothing. A renamed limb shows its new name at once.
TEST_F(ConfigurePageTest, EditAndDoubleClickOpenTheSelectedLimb) {
    int object = load(smallFigure(), false);
    Script script;
    script
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                click(configure, 1002);
                clickLimb(configure, "Leg", true);
            })
        .on("Part Adjust",
            [&](WindowHandle dialog) {
                EXPECT_EQ(text(dialog, 1003), "Leg");
                type(dialog, 1003, "Hips");
                click(dialog, 1);
            })
        .on("Settings",
            [&](WindowHandle sheet) {
                WindowHandle configure = openPage(sheet, "Configure");
                EXPECT_EQ(limbList(configure), "Hips[Chest[Arm[End]],Hips[End]]");
                clickLimb(configure, "Chest");
                click(configure, 1002);
            })
        .on("Part Adjust",
            [&](WindowHandle dialog) {
                EXPECT_EQ(text(dialog, 1003), "Chest");
                click(dialog, 2);
            })
        .on("Settings", [&](WindowHandle sheet) { clickSheetButton(sheet, 1); });
    settings(object, script);
    Limb* leg = figure(object)->rootLimb()->children[1];
    EXPECT_STREQ(leg->name, "Hips");
    EXPECT_DOUBLE_EQ(leg->radius, 0.4) << "the radius is not looked up again";
}

}  // namespace
}  // namespace ui_test
