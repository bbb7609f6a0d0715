// The one walk of a limb tree: order, the child and depth caps, deleted limbs, stopping, and what
// a limb passes down to its children.
#include "model/limb_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Frees a tree when the test ends, whatever it asserted.
struct TreeGuard {
    Limb* root;
    ~TreeGuard() { freeTree(root); }
};

Limb* namedChild(Limb* parent, const char* name, bool deleted = false) {
    Limb* child = addChild(parent);
    setName(child, name);
    child->deleted = deleted ? 1 : 0;
    return child;
}

//   Hips ─┬─ Chest (deleted) ── Neck
//         ├─ LeftLeg ── LeftFoot
//         └─ Tail (deleted)
// When rootDeleted, Hips is marked deleted too.
Limb* buildFigure(bool rootDeleted) {
    Limb* hips = newLimb();
    setName(hips, "Hips");
    hips->deleted = rootDeleted ? 1 : 0;
    Limb* chest = namedChild(hips, "Chest", true);
    namedChild(chest, "Neck");
    Limb* leg = namedChild(hips, "LeftLeg");
    namedChild(leg, "LeftFoot");
    namedChild(hips, "Tail", true);
    return hips;
}

// A chain of length limbs, each the only child of the one before; the root is named "0".
Limb* buildChain(int length) {
    Limb* root = newLimb();
    setName(root, "0");
    Limb* last = root;
    for (int i = 1; i < length; ++i)
        last = namedChild(last, std::to_string(i).c_str());
    return root;
}

// Writes down every call the walk makes: "name(parent,depth){" on entering, "}" on leaving.
struct Trace {
    std::string text;
    const char* notBelow = "";  // the limb whose children enter leaves out
    const char* stopAt = "";    // the limb whose enter stops the walk
    LimbWalkStep enter(const Limb* limb, const Limb* parent, int depth) {
        text += std::string(limb->name) + "(" + (parent != nullptr ? parent->name : "-") + "," +
                std::to_string(depth) + "){";
        if (std::string(limb->name) == stopAt)
            return LimbWalkStep::kStop;
        if (std::string(limb->name) == notBelow)
            return LimbWalkStep::kNotBelow;
        return LimbWalkStep::kBelow;
    }
    void leave(const Limb*, int) { text += "}"; }
};

TEST(LimbWalkTest, PreOrderWithParentsDepthsAndDeletedLimbs) {
    const struct {
        const char* what;
        bool rootDeleted;
        DeletedLimbs rule;
        const char* notBelow;
        const char* stopAt;
        bool finished;
        const char* trace;
    } cases[] = {
        {"deleted limbs skipped with their children", false, DeletedLimbs::kSkipped, "", "", true,
         "Hips(-,0){LeftLeg(Hips,1){LeftFoot(LeftLeg,2){}}}"},
        {"deleted limbs visited", false, DeletedLimbs::kVisited, "", "", true,
         "Hips(-,0){Chest(Hips,1){Neck(Chest,2){}}LeftLeg(Hips,1){LeftFoot(LeftLeg,2){}}"
         "Tail(Hips,1){}}"},
        {"a deleted root is still where the walk starts", true, DeletedLimbs::kSkipped, "", "",
         true, "Hips(-,0){LeftLeg(Hips,1){LeftFoot(LeftLeg,2){}}}"},
        {"children left out, the limb still left", false, DeletedLimbs::kVisited, "Chest", "", true,
         "Hips(-,0){Chest(Hips,1){}LeftLeg(Hips,1){LeftFoot(LeftLeg,2){}}Tail(Hips,1){}}"},
        {"a stop ends the walk at once", false, DeletedLimbs::kVisited, "", "Neck", false,
         "Hips(-,0){Chest(Hips,1){Neck(Chest,2){"},
    };
    for (const auto& c : cases) {
        Limb* root = buildFigure(c.rootDeleted);
        ASSERT_NE(root, nullptr);
        TreeGuard guard{root};
        Trace trace;
        trace.notBelow = c.notBelow;
        trace.stopAt = c.stopAt;
        EXPECT_EQ(walkLimbTree(static_cast<const Limb*>(root), c.rule, trace), c.finished)
            << c.what;
        EXPECT_EQ(trace.text, c.trace) << c.what;
    }
}

TEST(LimbWalkTest, NullRootVisitsNothing) {
    Trace trace;
    EXPECT_TRUE(walkLimbTree(static_cast<const Limb*>(nullptr), DeletedLimbs::kVisited, trace));
    EXPECT_EQ(trace.text, "");
    int visited = 0;
    forEachLimb(static_cast<Limb*>(nullptr), DeletedLimbs::kVisited,
                [&](Limb*, Limb*, int) { ++visited; });
    EXPECT_EQ(visited, 0);
    EXPECT_EQ(findFirstLimb(static_cast<Limb*>(nullptr), DeletedLimbs::kVisited,
                            [](Limb*) { return true; }),
              nullptr);
    EXPECT_EQ(limbChildren(static_cast<Limb*>(nullptr), DeletedLimbs::kVisited).begin() !=
                  limbChildren(static_cast<Limb*>(nullptr), DeletedLimbs::kVisited).end(),
              false);
}

// A record filled through the figure-access exports may hold any childCount: the walk reads the
// 32 slots there are and no further, and leaves empty slots out.
TEST(LimbWalkTest, ReadsAtMostTheChildSlotsThereAre) {
    const struct {
        uint32_t childCount;
        std::vector<int> emptySlots;
        int visitedChildren;
    } cases[] = {
        {0, {}, 0},     {5, {}, 5},     {32, {}, 32}, {33, {}, 32}, {0xFFFFFFFFu, {}, 32},
        {5, {0, 4}, 3}, {40, {31}, 31},
    };
    for (const auto& c : cases) {
        Limb* root = newLimb();
        ASSERT_NE(root, nullptr);
        TreeGuard guard{root};
        for (int i = 0; i < kMaxChildren; ++i)
            ASSERT_NE(namedChild(root, std::to_string(i).c_str()), nullptr);
        for (int slot : c.emptySlots) {
            freeTree(root->children[slot]);
            root->children[slot] = nullptr;
        }
        root->childCount = c.childCount;
        std::vector<const Limb*> seen;
        forEachLimb(static_cast<const Limb*>(root), DeletedLimbs::kVisited,
                    [&](const Limb* limb, const Limb* parent, int depth) {
                        if (parent == nullptr)
                            return;
                        EXPECT_EQ(parent, root);
                        EXPECT_EQ(depth, 1);
                        seen.push_back(limb);
                    });
        ASSERT_EQ(static_cast<int>(seen.size()), c.visitedChildren) << c.childCount;
        int n = 0;
        for (const Limb* child :
             limbChildren(static_cast<const Limb*>(root), DeletedLimbs::kSkipped))
            EXPECT_EQ(child, seen[n++]) << c.childCount;
        EXPECT_EQ(n, c.visitedChildren) << "the children of one limb are the walk's";
        root->childCount = kMaxChildren;  // freeTree frees the slots that hold a limb
    }
}

// A chain built deeper than the reader nests is walked down to kMaxLimbDepth levels below its
// root; the limbs there are entered, but not their children.
TEST(LimbWalkTest, GoesNoDeeperThanTheNestingLimit) {
    const struct {
        int length;
        int visited;
    } cases[] = {
        {1, 1},
        {kMaxLimbDepth, kMaxLimbDepth},
        {kMaxLimbDepth + 1, kMaxLimbDepth + 1},
        {kMaxLimbDepth + 3, kMaxLimbDepth + 1},
    };
    for (const auto& c : cases) {
        Limb* root = buildChain(c.length);
        ASSERT_NE(root, nullptr);
        TreeGuard guard{root};
        struct Counter {
            int entered = 0, left = 0, deepest = -1;
            LimbWalkStep enter(Limb*, Limb*, int depth) {
                ++entered;
                deepest = depth > deepest ? depth : deepest;
                return LimbWalkStep::kBelow;
            }
            void leave(Limb*, int) { ++left; }
        } counter;
        EXPECT_TRUE(walkLimbTree(root, DeletedLimbs::kVisited, counter));
        EXPECT_EQ(counter.entered, c.visited) << c.length;
        EXPECT_EQ(counter.left, c.visited) << c.length;
        EXPECT_EQ(counter.deepest, c.visited - 1) << c.length;
        // Searching has the same reach: the last limb within it is found, one beyond it is not.
        const std::string last = std::to_string(c.visited - 1);
        const std::string beyond = std::to_string(c.visited);
        EXPECT_NE(findLimb(root, last.c_str(), 0), nullptr) << c.length;
        EXPECT_EQ(findLimb(root, beyond.c_str(), 0), nullptr) << c.length;
    }
}

// Each limb's level starts empty and its children see it as their parent's; the root sees none.
TEST(LimbWalkTest, EachLimbSeesWhatItsParentPassedDown) {
    Limb* root = buildFigure(false);
    ASSERT_NE(root, nullptr);
    TreeGuard guard{root};
    struct PathWalk {
        struct Level {
            const Limb* limb;
            std::string path;
        };
        std::vector<std::string> paths;
        int wrongParents = 0;
        int startedFilled = 0;
        LimbWalkStep enter(const Limb* limb, const Limb* parent, int, const Level* parentLevel,
                           Level& own) {
            if (own.limb != nullptr || !own.path.empty())
                ++startedFilled;
            if ((parentLevel == nullptr) != (parent == nullptr) ||
                (parentLevel != nullptr && parentLevel->limb != parent))
                ++wrongParents;
            own.limb = limb;
            own.path = (parentLevel != nullptr ? parentLevel->path + "/" : "") + limb->name;
            paths.push_back(own.path);
            return LimbWalkStep::kBelow;
        }
    };
    const struct {
        DeletedLimbs rule;
        std::vector<std::string> paths;
    } cases[] = {
        {DeletedLimbs::kSkipped, {"Hips", "Hips/LeftLeg", "Hips/LeftLeg/LeftFoot"}},
        {DeletedLimbs::kVisited,
         {"Hips", "Hips/Chest", "Hips/Chest/Neck", "Hips/LeftLeg", "Hips/LeftLeg/LeftFoot",
          "Hips/Tail"}},
    };
    for (const auto& c : cases) {
        PathWalk walk;
        EXPECT_TRUE(walkLimbTree(static_cast<const Limb*>(root), c.rule, walk));
        EXPECT_EQ(walk.paths, c.paths);
        EXPECT_EQ(walk.wrongParents, 0);
        EXPECT_EQ(walk.startedFilled, 0);
    }
}

}  // namespace
