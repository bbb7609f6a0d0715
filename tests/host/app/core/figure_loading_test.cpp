// Loading a figure the one way fighost loads: the loader chosen by the options and the extension,
// and loadInto over the built module keeping only objects that hold a figure.
#include "host/app/core/figure_loading.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

using fighost::LoadFailure;

TEST(FigureLoadingTest, TheLoaderFollowsTheOptionsThenTheExtension) {
    struct Case {
        const char* option;  // "bvh", "fig" or none
        const char* path;
        const char* loader;
    };
    const Case cases[] = {
        {"", "walk.fig", fighost::kFigureLoader},
        {"", "human.bvh", fighost::kBioVisionLoader},
        {"", "HUMAN.BVH", fighost::kBioVisionLoader},
        {"", "walk", fighost::kFigureLoader},
        {"", "bvh", fighost::kFigureLoader},
        {"", "a.bvh.txt", fighost::kFigureLoader},
        {"bvh", "walk.fig", fighost::kBioVisionLoader},
        {"fig", "human.bvh", fighost::kFigureLoader},
    };
    for (const Case& c : cases) {
        fighost::ParsedArguments parsed;
        if (*c.option != '\0')
            parsed.options[c.option] = "";
        EXPECT_STREQ(fighost::loaderFor(parsed, c.path), c.loader) << c.option << " " << c.path;
    }
}

TEST(FigureLoadingTest, OnlyAnObjectThatHoldsAFigureIsKept) {
    testing_support::TempDir folder;
    struct Case {
        std::string path;
        const char* loader;
        LoadFailure failure;
        std::string error;  // the start of it
    };
    const std::string empty = folder.write("empty.fig", "");
    const Case cases[] = {
        {std::string(FIGURE_SOURCE_DIR) + "/examples/walk.fig", fighost::kFigureLoader,
         LoadFailure::kNone, ""},
        {std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh", fighost::kBioVisionLoader,
         LoadFailure::kNone, ""},
        {empty, fighost::kFigureLoader, LoadFailure::kEmpty, empty + " holds no figure"},
        // The module's own message says why; loadInto adds none.
        {folder.path("missing.fig"), fighost::kFigureLoader, LoadFailure::kNotLoaded, ""},
    };
    // The scene objects the session has not discarded.
    auto live = [](const fighost::ModuleSession& session) {
        size_t count = 0;
        for (const standin::SceneObject& object : standin::scene().objects)
            count += session.deleted(object.handle) ? 0 : 1;
        return count;
    };
    standin::resetScene();
    standin::setEchoErrors(false);
    fighost::ModuleSession session;
    std::string error;
    ASSERT_TRUE(session.open(FIGURE_LIBRARY_PATH, &error)) << error;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        fighost::LoadRequest request;
        request.path = c.path;
        request.loader = c.loader;
        request.posing = 0;
        LoadFailure failure = LoadFailure::kNotLoaded;
        const size_t before = live(session);
        const int handle = fighost::loadInto(&session, request, std::string(), &error, &failure);
        EXPECT_EQ(failure, c.failure);
        EXPECT_EQ(error, c.error);
        if (c.failure == LoadFailure::kNone) {
            ASSERT_NE(handle, host::kNoObject);
            ASSERT_NE(session.figure(handle), nullptr);
            EXPECT_TRUE(fighost::holdsFigure(*session.figure(handle)));
            EXPECT_EQ(session.figure(handle)->posing, 0);
        } else {
            EXPECT_EQ(handle, host::kNoObject);
            // Whatever the loader made is gone again.
            EXPECT_EQ(live(session), before);
        }
    }
    standin::setEchoErrors(true);
}

}  // namespace
