// The stand-in host's AddExt: the extension is added only to a file name that has none.
#include <gtest/gtest.h>

#include <string>

#include "plugin/host_library.h"

namespace {

TEST(AddExtTest, AddsTheExtensionOnlyToNamesWithoutOne) {
    const struct {
        const char* path;
        const char* ext;
        const char* expected;
    } cases[] = {
        {"walk", ".fig", "walk.fig"},
        {"walk.bvh", ".fig", "walk.bvh"},
        {"walk.fig", ".fig", "walk.fig"},
        {"walk.FIG", ".fig", "walk.FIG"},
        {"/a/b.c/walk", ".bvh", "/a/b.c/walk.bvh"},
        {"C:\\my.dir\\run", ".fig", "C:\\my.dir\\run.fig"},
        {"C:\\figs\\walk.take2", ".bvh", "C:\\figs\\walk.take2"},
        {"figs/.hidden", ".fig", "figs/.hidden"},
        {"figs/", ".fig", "figs/.fig"},
        {"", ".fig", ".fig"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(AddExt(c.path, c.ext)), c.expected) << c.path << " + " << c.ext;
}

}  // namespace
