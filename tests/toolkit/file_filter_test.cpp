// The module's "description|pattern||" file filters as every file dialog reads them.
#include "toolkit/file_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilterTest, ReadsPairsUpToTheEndOfTheList) {
    const struct {
        const char* text;
        std::vector<std::string> names;  // nameFilter of each filter read, in order
    } cases[] = {
        {"Figure (*.fig)|*.fig|Biovision (*.bvh)|*.bvh|All files (*.*)|*.*||",
         {"Figure (*.fig)", "Biovision (*.bvh)", "All files (*.*)"}},
        {"BioVision (*.bvh) |*.bvh||", {"BioVision (*.bvh)"}},
        {"Figures|*.fig;*.bvh|Text|*.txt||", {"Figures (*.fig *.bvh)", "Text (*.txt)"}},
        {"No pattern||Text|*.txt||", {"Text (*.txt)"}},
        {"Figure|*.fig||Hidden|*.hid||", {"Figure (*.fig)"}},
        {"no bars", {}},
        {"", {}},
        {nullptr, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const toolkit::FileFilter& filter : toolkit::parseFileFilters(c.text))
            names.push_back(toolkit::nameFilter(filter));
        EXPECT_EQ(names, c.names) << (c.text ? c.text : "(null)");
    }
}

TEST(FileFilterTest, MatchesNamesByExtensionOnly) {
    const toolkit::FileFilter figures{"Figures", "*.fig; *.bvh"};
    const toolkit::FileFilter all{"All files", "*.*"};
    const toolkit::FileFilter named{"Odd", "walk.*"};
    const struct {
        const char* name;
        const toolkit::FileFilter& filter;
        bool matches;
    } cases[] = {
        {"walk.fig", figures, true},      {"dir/walk.bvh", figures, true},
        {"walk.fig.txt", figures, false}, {"fig", figures, false},
        {"walk.fig", all, false},         {"walk.bvh", named, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toolkit::matchesFilter(c.name, c.filter), c.matches)
            << c.name << " against " << c.filter.pattern;
}

}  // namespace
