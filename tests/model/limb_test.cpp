#include "model/limb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/stand_in_host.h"
#include "support/figure_reading.h"

namespace {

using testing_support::treeText;

// Frees a tree when the test ends, whatever it asserted.
struct TreeGuard {
    Limb* root;
    ~TreeGuard() { freeTree(root); }
};

Limb* namedChild(Limb* parent, const char* name) {
    Limb* child = addChild(parent);
    setName(child, name);
    return child;
}

TEST(LimbTest, NewLimbIsAnUnnamedPlaceholder) {
    Limb* limb = newLimb();
    ASSERT_NE(limb, nullptr);
    TreeGuard guard{limb};
    EXPECT_STREQ(limb->name, ".");
    EXPECT_STREQ(limb->mapName, "");
    EXPECT_EQ(limb->childCount, 0u);
    EXPECT_EQ(limb->firstChannel, 0u);
    EXPECT_EQ(limb->declaredChannels, 0u);
    EXPECT_EQ(limb->deleted, 0);
    EXPECT_DOUBLE_EQ(limb->radius, 0.4);
    EXPECT_EQ(limb->associatedObject, -1);
    EXPECT_EQ(limb->offset.x, 0.0f);
    EXPECT_EQ(limb->offset.y, 0.0f);
    EXPECT_EQ(limb->offset.z, 0.0f);
    EXPECT_EQ(limb->rotation.x, 0.0f);
    EXPECT_EQ(limb->rotation.y, 0.0f);
    EXPECT_EQ(limb->rotation.z, 0.0f);
    for (Limb* child : limb->children) {
        EXPECT_EQ(child, nullptr);
    }
}

TEST(LimbTest, DefaultTableEndsWithANullRowAfterEighteenNames) {
    int rows = 0;
    while (kLimbDefaults[rows].name != nullptr) {
        ++rows;
    }
    EXPECT_EQ(rows, 18);
    EXPECT_STREQ(kLimbDefaults[0].name, "Hips");
    EXPECT_STREQ(kLimbDefaults[17].name, "RightFoot");
}

TEST(LimbTest, SetNameTakesTheDefaultRadiusWhateverTheCase) {
    Limb* limb = newLimb();
    TreeGuard guard{limb};
    EXPECT_EQ(setName(limb, "hips"), 1);
    EXPECT_STREQ(limb->name, "hips");
    EXPECT_DOUBLE_EQ(limb->radius, 2.0);
    setName(limb, "LeftCollar");
    EXPECT_DOUBLE_EQ(limb->radius, 0.8);
    setName(limb, "RIGHTFOOT");
    EXPECT_DOUBLE_EQ(limb->radius, 0.4);

    // A name that stands in no row leaves whatever radius the limb had.
    limb->radius = 3.25;
    setName(limb, "Tail");
    EXPECT_STREQ(limb->name, "Tail");
    EXPECT_DOUBLE_EQ(limb->radius, 3.25);
    // A row's name with something after it is no match.
    setName(limb, "HipsX");
    EXPECT_DOUBLE_EQ(limb->radius, 3.25);
    setName(limb, "Hip");
    EXPECT_DOUBLE_EQ(limb->radius, 3.25);
}

TEST(LimbTest, NamesAreCutToFifteenCharactersAndMapNamesToFortyThree) {
    Limb* limb = newLimb();
    TreeGuard guard{limb};
    setName(limb, "ABCDEFGHIJKLMNO");
    EXPECT_STREQ(limb->name, "ABCDEFGHIJKLMNO");
    setName(limb, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_STREQ(limb->name, "ABCDEFGHIJKLMNO");
    setName(limb, "");
    EXPECT_STREQ(limb->name, "");

    const std::string longMap(60, 'm');
    setMapName(limb, longMap.c_str());
    EXPECT_EQ(std::string(limb->mapName), std::string(43, 'm'));
    setMapName(limb, "Lamp");
    EXPECT_STREQ(limb->mapName, "Lamp");
}

TEST(LimbTest, NullLimbsAndNullTextsChangeNothing) {
    EXPECT_EQ(setName(nullptr, "Hips"), 1);
    setMapName(nullptr, "Lamp");
    EXPECT_EQ(addChild(nullptr), nullptr);
    EXPECT_EQ(findLimb(nullptr, "Hips", 0), nullptr);
    EXPECT_EQ(findLimb(nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(freeTree(nullptr), 1);

    Limb* limb = newLimb();
    TreeGuard guard{limb};
    setName(limb, "Head");
    EXPECT_EQ(setName(limb, nullptr), 1);
    EXPECT_STREQ(limb->name, "Head");
    setMapName(limb, nullptr);
    EXPECT_STREQ(limb->mapName, "");
}

TEST(LimbTest, ChildrenKeepTheirOrderAndAThirtyThirdIsRefused) {
    Limb* root = newLimb();
    TreeGuard guard{root};
    Limb* made[kMaxChildren];
    for (int i = 0; i < kMaxChildren; ++i) {
        made[i] = addChild(root);
        ASSERT_NE(made[i], nullptr) << "child " << i;
    }
    EXPECT_EQ(root->childCount, 32u);
    for (int i = 0; i < kMaxChildren; ++i) {
        EXPECT_EQ(root->children[i], made[i]);
    }
    EXPECT_EQ(addChild(root), nullptr);
    EXPECT_EQ(root->childCount, 32u);
    for (int i = 0; i < kMaxChildren; ++i) {
        EXPECT_EQ(root->children[i], made[i]);
    }
    // A refused parent does not stop its children from having children of their own.
    EXPECT_NE(addChild(made[31]), nullptr);
}

//   root (firstChannel 0)
//   +-- a (firstChannel 6)
//   |   +-- b (firstChannel 9)
//   +-- c (firstChannel 0, no channels)
TEST(LimbTest, FindingByChannelTakesTheFirstLimbAtOrPastTheIndexInPreOrder) {
    Limb* root = newLimb();
    TreeGuard guard{root};
    setName(root, "root");
    Limb* a = namedChild(root, "a");
    Limb* b = namedChild(a, "b");
    Limb* c = namedChild(root, "c");
    a->firstChannel = 6;
    b->firstChannel = 9;
    (void)c;

    EXPECT_EQ(findLimb(root, nullptr, 0), root);
    for (uint32_t k = 1; k <= 6; ++k) {
        EXPECT_EQ(findLimb(root, nullptr, k), a) << "k = " << k;
    }
    for (uint32_t k = 7; k <= 9; ++k) {
        EXPECT_EQ(findLimb(root, nullptr, k), b) << "k = " << k;
    }
    EXPECT_EQ(findLimb(root, nullptr, 10), nullptr);
    EXPECT_EQ(findLimb(root, nullptr, 0xFFFFFFFFu), nullptr);
    // The search starts at the limb it is given.
    EXPECT_EQ(findLimb(b, nullptr, 0), b);
    EXPECT_EQ(findLimb(c, nullptr, 1), nullptr);
}

TEST(LimbTest, FindingTheRootByChannelZeroIgnoresDeletion) {
    Limb* root = newLimb();
    TreeGuard guard{root};
    root->deleted = 1;
    addChild(root);
    EXPECT_EQ(findLimb(root, nullptr, 0), root);
}

//   Hips
//   +-- Chest (deleted)
//   |   +-- Head            <- found first, deleted parent or not
//   +-- Neck
//       +-- head
TEST(LimbTest, FindingByNameIgnoresCaseAndDeletionAndTakesTheFirstInPreOrder) {
    Limb* root = newLimb();
    TreeGuard guard{root};
    setName(root, "Hips");
    Limb* chest = namedChild(root, "Chest");
    Limb* head = namedChild(chest, "Head");
    Limb* neck = namedChild(root, "Neck");
    Limb* lowerHead = namedChild(neck, "head");
    chest->deleted = 1;

    EXPECT_EQ(findLimb(root, "head", 0), head);
    EXPECT_EQ(findLimb(root, "HEAD", 0), head);
    EXPECT_EQ(findLimb(root, "hips", 0), root);
    EXPECT_EQ(findLimb(neck, "Head", 0), lowerHead);
    EXPECT_EQ(findLimb(root, "Tail", 0), nullptr);
    EXPECT_EQ(findLimb(root, "Hea", 0), nullptr);
    // With a name the channel index plays no part.
    EXPECT_EQ(findLimb(root, "Neck", 1000), neck);
}

//   root             (object A)
//   +-- left         (deleted)
//   |   +-- hand     (object B)
//   +-- right        (no object)
TEST(LimbTest, FreeingATreeReleasesEveryAssociatedObjectDeletedSubtreesIncluded) {
    standin::resetScene();
    const int objectA = piCreateObject("A", 1);
    const int objectB = piCreateObject("B", 1);
    const int objectC = piCreateObject("C", 1);
    ASSERT_NE(objectA, -1);
    ASSERT_NE(objectB, -1);

    Limb* root = newLimb();
    Limb* left = addChild(root);
    Limb* hand = addChild(left);
    addChild(root);
    left->deleted = 1;
    root->associatedObject = objectA;
    hand->associatedObject = objectB;

    EXPECT_EQ(freeTree(root), 1);
    EXPECT_TRUE(standin::object(objectA)->released);
    EXPECT_TRUE(standin::object(objectB)->released);
    EXPECT_FALSE(standin::object(objectC)->released);
}

TEST(LimbTest, FreeingATreeFarDeeperThanAnyFileReachesDoesNotExhaustTheStack) {
    // Deep enough that a walk recursing once per level overflows the usual 8 MB stack.
    constexpr int kDepth = 300000;
    standin::resetScene();
    const int object = piCreateObject("Lamp", 1);
    Limb* root = newLimb();
    ASSERT_NE(root, nullptr);
    Limb* tip = root;
    for (int i = 0; i < kDepth; ++i) {
        Limb* child = addChild(tip);
        ASSERT_NE(child, nullptr);
        // Every level also gets a sibling, so the walk has to come back up through each one.
        if (i % 2 == 0) {
            addChild(tip);
        }
        tip = child;
    }
    tip->associatedObject = object;
    EXPECT_EQ(freeTree(root), 1);
    EXPECT_TRUE(standin::object(object)->released);
}

TEST(LimbTest, FreeingPassesOverEmptySlotsAndGoesOnWithTheNext) {
    standin::resetScene();
    const int object = piCreateObject("Lamp", 1);
    Limb* root = newLimb();
    Limb* emptied = addChild(root);
    Limb* kept = addChild(root);
    Limb* leaf = addChild(kept);
    leaf->associatedObject = object;
    // A slot within childCount that holds nothing is passed over, not followed.
    root->children[0] = nullptr;
    freeTree(emptied);
    freeTree(root);
    EXPECT_TRUE(standin::object(object)->released);
}

}  // namespace
