// The built module as the host sees it: loaded with dlopen, exporting exactly its external
// interface and nothing else.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "plugin/entry_points.h"

namespace {

// The names the module's dynamic symbol table defines (functions and data, any binding).
std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr))
        return names;
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return names;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (size_t i = 0; i < sections.size(); ++i)
        std::memcpy(&sections[i], bytes.data() + header.e_shoff + i * sizeof(Elf64_Shdr),
                    sizeof(Elf64_Shdr));
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNSYM)
            continue;
        const Elf64_Shdr& strings = sections.at(section.sh_link);
        size_t count = section.sh_size / sizeof(Elf64_Sym);
        for (size_t i = 1; i < count; ++i) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, bytes.data() + section.sh_offset + i * sizeof symbol,
                        sizeof symbol);
            if (symbol.st_shndx == SHN_UNDEF)
                continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(ModuleExportsTest, ExportsExactlyTheExternalInterface) {
    // The one export list, module/figure.def, read at configure time.
    const std::set<std::string> expected = {
#define FIGURE_EXPORT(name, ordinal) #name,
#include "module/figure_exports.inc"
#undef FIGURE_EXPORT
    };
    EXPECT_EQ(expected.size(), 26u);
    EXPECT_EQ(definedDynamicSymbols(FIGURE_LIBRARY_PATH), expected);
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
