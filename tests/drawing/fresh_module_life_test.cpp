// Facts about a module that has just started. Each case runs in a child process forked before
// anything in this executable has drawn (gtest runs *DeathTest suites first), so the module-wide
// state the child sees is the state the module starts with.
#include <gtest/gtest.h>

#include <cstdlib>

#include "drawing/cable.h"
#include "drawing/figure_renderer.h"
#include "drawing/segment_geometry.h"
#include "host/stand_in_host.h"
#include "model/limb.h"

namespace {

// Each returns 0 when every check held, else the number of the first check that failed; the
// child exits with that code.

int firstRedrawDeletesNothing() {
    standin::setEchoErrors(false);
    standin::resetScene();
    const int object = piCreateObject("figure", host::kFigureObjectType);
    Limb* root = newLimb();
    addChild(root)->offset = PiPoint{0, 5, 0};
    const PiPoint origin{0, 0, 0};
    if (!geometryCleared)
        return 1;
    redrawFigure(object, root, &origin, 0, kSegmentLines);
    if (standin::object(object)->deleteGeometryCount != 0)
        return 2;
    if (standin::object(object)->geometry.size() != 1)
        return 3;
    redrawFigure(object, root, &origin, 0, kSegmentLines);
    if (standin::object(object)->deleteGeometryCount != 1)
        return 4;
    if (standin::object(object)->geometry.size() != 1)
        return 5;
    freeTree(root);
    return 0;
}

int firstCablesAreNumberedFromZero() {
    standin::setEchoErrors(false);
    standin::resetScene();
    const PiPoint from{0, 0, 0}, to{1, 0, 0};
    drawTestSegment(&from, &to);
    drawTestSegment(&from, &to);
    const standin::SceneObject* first = standin::objectNamed("_Cable0");
    const standin::SceneObject* second = standin::objectNamed("_Cable1");
    if (first == nullptr || second == nullptr)
        return 1;
    if (first->handle >= second->handle)
        return 2;
    if (first->geometry.size() != 72 || second->geometry.size() != 72)
        return 3;
    return 0;
}

TEST(FreshModuleLifeDeathTest, FirstRedrawDeletesNothingTheSecondOnce) {
    EXPECT_EXIT(std::exit(firstRedrawDeletesNothing()), ::testing::ExitedWithCode(0), "");
}

TEST(FreshModuleLifeDeathTest, FirstCablesAreCable0ThenCable1) {
    EXPECT_EXIT(std::exit(firstCablesAreNumberedFromZero()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
