// The built module as the host sees it: loaded with dlopen, exporting exactly its external
// interface and nothing else.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "host/stand_in_host.h"
#include "plugin/entry_points.h"
#include "support/elf_reading.h"

namespace {

TEST(ModuleExportsTest, ExportsExactlyTheExternalInterface) {
    // The one export list, module/figure.def, read at configure time.
    const std::set<std::string> expected = {
#define FIGURE_EXPORT(name, ordinal) #name,
#include "module/figure_exports.inc"
#undef FIGURE_EXPORT
    };
    EXPECT_EQ(expected.size(), 26u);
    EXPECT_EQ(testing_support::definedDynamicSymbols(FIGURE_LIBRARY_PATH), expected);
}

TEST(ModuleExportsTest, LoadsAndStartsLikeTheHostDoes) {
    void* module = dlopen(FIGURE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto init = reinterpret_cast<decltype(&piInit)>(dlsym(module, "piInit"));
    auto exit = reinterpret_cast<decltype(&piExit)>(dlsym(module, "piExit"));
    auto icon = reinterpret_cast<decltype(&BvhLoad)>(dlsym(module, "BvhLoad"));
    ASSERT_TRUE(init && exit && icon);
    EXPECT_EQ(dlsym(module, "modulePlugin"), nullptr) << "internals stay hidden";

    standin::resetScene();
    PluginCall call{};
    call.objectHandle = -1;
    EXPECT_EQ(icon(1024, 0, &call), 0) << "before piInit there is no plug-in";
    EXPECT_EQ(init(1, 2), 1);
    EXPECT_EQ(standin::scene().commands.size(), 5u);
    EXPECT_EQ(icon(1024, 0, &call), 1);
    EXPECT_EQ(call.callValue, 131u);
    EXPECT_EQ(exit(0), 1);
    EXPECT_EQ(exit(0), 1);
    dlclose(module);
}

}  // namespace
