// The steps of Undo and Redo, and the keys that follow an object through its re-makings.
#include "host/app/core/undo_stack.h"

#include <gtest/gtest.h>

namespace {

using fighost::ObjectSnapshot;
using fighost::UndoStack;

UndoStack::Step step(const std::string& name) {
    UndoStack::Step made;
    made.name = name;
    return made;
}

TEST(UndoStackTest, UndoRedoAndANewStepInBetween) {
    UndoStack stack;
    EXPECT_EQ(stack.undoName(), "");
    EXPECT_EQ(stack.undoStep(), nullptr);
    stack.push(step("Settings of walk"));
    stack.push(step("Delete walk"));
    // (operation, Undo's name after it, Redo's name after it)
    struct Case {
        char operation;  // u undo, r redo, p push "Close human"
        const char* undo;
        const char* redo;
    };
    const Case cases[] = {{'u', "Settings of walk", "Delete walk"},
                          {'u', "", "Settings of walk"},
                          {'u', "", "Settings of walk"},
                          {'r', "Settings of walk", "Delete walk"},
                          {'p', "Close human", ""},
                          {'r', "Close human", ""},
                          {'u', "Settings of walk", "Close human"}};
    for (const Case& c : cases) {
        if (c.operation == 'u')
            stack.undone();
        else if (c.operation == 'r')
            stack.redone();
        else
            stack.push(step("Close human"));
        EXPECT_EQ(stack.undoName(), c.undo) << c.operation;
        EXPECT_EQ(stack.redoName(), c.redo) << c.operation;
    }
    EXPECT_EQ(stack.size(), 2u);
    stack.clear();
    EXPECT_FALSE(stack.canUndo());
    EXPECT_FALSE(stack.canRedo());
}

TEST(UndoStackTest, KeepsTheNewestStepsOnly) {
    UndoStack stack;
    for (size_t i = 0; i < UndoStack::kDepth + 5; ++i)
        stack.push(step("step " + std::to_string(i)));
    EXPECT_EQ(stack.size(), UndoStack::kDepth);
    EXPECT_EQ(stack.undoName(), "step " + std::to_string(UndoStack::kDepth + 4));
    for (size_t i = 0; i < UndoStack::kDepth; ++i)
        stack.undone();
    EXPECT_FALSE(stack.canUndo());
    EXPECT_EQ(stack.redoName(), "step 5");
}

TEST(UndoStackTest, AKeyFollowsItsObjectThroughNewHandles) {
    UndoStack stack;
    const int walk = stack.keyOf(3), human = stack.keyOf(4);
    EXPECT_NE(walk, human);
    EXPECT_EQ(stack.keyOf(3), walk);
    stack.moved(walk, 7);
    EXPECT_EQ(stack.handleOf(walk), 7);
    EXPECT_EQ(stack.keyOf(7), walk);
    // The old handle is another object's now, should it be seen again.
    EXPECT_NE(stack.keyOf(3), walk);
    stack.moved(human, -1);
    EXPECT_EQ(stack.handleOf(human), -1);
    EXPECT_NE(stack.keyOf(-1), human);
    EXPECT_EQ(stack.savedFigure(walk), nullptr);
    stack.setSavedFigure(walk, "HIERARCHY\n");
    ASSERT_NE(stack.savedFigure(walk), nullptr);
    EXPECT_EQ(*stack.savedFigure(walk), "HIERARCHY\n");
}

TEST(UndoStackTest, ObjectsAreTheSameWhenFigureNameAndTraitsAre) {
    ObjectSnapshot walk;
    walk.figureFile = "HIERARCHY\nROOT Hips\n";
    walk.name = "walk";
    walk.frame = 3;
    ObjectSnapshot elsewhere = walk;
    elsewhere.frame = 9;  // a pose is no change
    ObjectSnapshot renamed = walk, restyled = walk, rewritten = walk;
    renamed.name = "walk2";
    restyled.traits.style = 2;
    rewritten.figureFile += "{\n";
    EXPECT_TRUE(fighost::sameObject(walk, elsewhere));
    EXPECT_TRUE(fighost::sameObject(std::nullopt, std::nullopt));
    for (const ObjectSnapshot& other : {renamed, restyled, rewritten})
        EXPECT_FALSE(fighost::sameObject(walk, other)) << other.name << other.traits.style;
    EXPECT_FALSE(fighost::sameObject(walk, std::nullopt));
    EXPECT_FALSE(fighost::sameObject(std::nullopt, walk));
}

}  // namespace
