// The figure-access exports other modules use.
#include <gtest/gtest.h>

#include "host/stand_in_host.h"
#include "plugin/figure_access.h"

namespace {

class FigureAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        figure = FigureData::create(nullptr);
        figure->root = newLimb();
        figure->motion = MotionTable::create(nullptr);
        for (int c = 0; c < 6; ++c)
            figure->motion->declareChannel("c");
        handle = piCreateObject("figure", 25);
        piSetObjectData(handle, figure);
    }
    void TearDown() override {
        if (figure != nullptr) {
            figure->destroy();
            delete figure;
        }
        standin::resetScene();
    }
    FigureData* figure = nullptr;
    int handle = -1;
};

TEST_F(FigureAccessTest, GetFigureFindsTheAttachedData) {
    EXPECT_EQ(GetFigure(handle), figure);
    int calls = standin::scene().getObjectDataCalls;
    EXPECT_EQ(GetFigure(-1), nullptr);
    EXPECT_EQ(standin::scene().getObjectDataCalls, calls) << "-1 is not asked about";
    EXPECT_EQ(GetFigure(piCreateObject("bare", 25)), nullptr);
    standin::Faults faults;
    faults.getObjectDataFails = true;
    standin::setFaults(faults);
    EXPECT_EQ(GetFigure(handle), nullptr);
}

TEST_F(FigureAccessTest, ValuesGoInReversedAndComeBackOut) {
    PiPoint values{1, 2, 3};
    EXPECT_EQ(SetFigureLimbInfo(figure, 1, 5, nullptr, &values), 1);
    EXPECT_EQ(figure->motion->value(0, 5), 3.0);
    EXPECT_EQ(figure->motion->value(1, 5), 2.0);
    EXPECT_EQ(figure->motion->value(2, 5), 1.0);
    EXPECT_GE(figure->motion->frameCount, 6u);

    PiPoint back{}, offset{9, 9, 9};
    figure->root->offset = PiPoint{0.5f, 1, 2};
    EXPECT_EQ(GetFigureLimbInfo(figure, 1, 5, &offset, &back), 0) << "0 even after a read";
    EXPECT_EQ(back.x, 1.0f);
    EXPECT_EQ(back.y, 2.0f);
    EXPECT_EQ(back.z, 3.0f);
    EXPECT_EQ(offset.x, 0.5f);
    EXPECT_EQ(offset.z, 2.0f);
}

TEST_F(FigureAccessTest, ZeroSelectorMissingFigureOrRootChangeNothing) {
    PiPoint values{1, 2, 3}, offset{4, 5, 6};
    EXPECT_EQ(SetFigureLimbInfo(figure, 0, 1, &offset, &values), 0);
    EXPECT_EQ(figure->motion->frameCount, 0u);
    EXPECT_EQ(figure->root->offset.x, 0.0f);
    EXPECT_EQ(SetFigureLimbInfo(nullptr, 1, 1, &offset, &values), 0);
    EXPECT_EQ(GetFigureLimbInfo(nullptr, 1, 1, &offset, &values), 0);

    freeTree(figure->root);
    figure->root = nullptr;
    EXPECT_EQ(SetFigureLimbInfo(figure, 1, 1, &offset, &values), 0);
    EXPECT_EQ(figure->motion->frameCount, 0u);
}

TEST_F(FigureAccessTest, OffsetAloneAndFramesTheTableRefuses) {
    PiPoint offset{0.5f, 1, 2};
    EXPECT_EQ(SetFigureLimbInfo(figure, 7, 0, &offset, nullptr), 1);
    EXPECT_EQ(figure->root->offset.y, 1.0f);

    PiPoint values{1, 2, 3};
    EXPECT_EQ(SetFigureLimbInfo(figure, 1, 300, nullptr, &values), 1);
    EXPECT_EQ(figure->motion->frameCount, 0u) << "frame 300 is outside the table";

    delete figure->motion;
    figure->motion = nullptr;
    EXPECT_EQ(SetFigureLimbInfo(figure, 1, 1, nullptr, &values), 1) << "nothing stored, still 1";
}

TEST_F(FigureAccessTest, DeleteFigureDestroysAndDetaches) {
    EXPECT_EQ(DeleteFigure(handle, nullptr), 0);
    EXPECT_EQ(GetFigure(handle), figure) << "the object keeps its data";
    EXPECT_EQ(DeleteFigure(handle, figure), 1);
    figure = nullptr;
    EXPECT_EQ(GetFigure(handle), nullptr);
    EXPECT_EQ(CreateFigure(), 0);
}

}  // namespace
