#include "support/elf_reading.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace testing_support {
namespace {

// A 64-bit ELF file's bytes and section headers; no sections when it is none.
struct ElfFile {
    std::vector<char> bytes;
    std::vector<Elf64_Shdr> sections;

    explicit ElfFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        Elf64_Ehdr header;
        if (bytes.size() < sizeof header)
            return;
        std::memcpy(&header, bytes.data(), sizeof header);
        if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
            header.e_ident[EI_CLASS] != ELFCLASS64 ||
            header.e_shoff + header.e_shnum * sizeof(Elf64_Shdr) > bytes.size())
            return;
        sections.resize(header.e_shnum);
        for (size_t i = 0; i < sections.size(); ++i)
            std::memcpy(&sections[i], bytes.data() + header.e_shoff + i * sizeof(Elf64_Shdr),
                        sizeof(Elf64_Shdr));
    }

    // The index-th record of type Record in section.
    template <typename Record>
    Record record(const Elf64_Shdr& section, size_t index) const {
        Record read;
        std::memcpy(&read, bytes.data() + section.sh_offset + index * sizeof read, sizeof read);
        return read;
    }
    const char* string(const Elf64_Shdr& section, size_t offset) const {
        return bytes.data() + sections.at(section.sh_link).sh_offset + offset;
    }
};

}  // namespace

std::vector<std::string> neededLibraries(const std::string& path) {
    const ElfFile file(path);
    std::vector<std::string> needed;
    for (const Elf64_Shdr& section : file.sections) {
        if (section.sh_type != SHT_DYNAMIC)
            continue;
        for (size_t i = 0; i < section.sh_size / sizeof(Elf64_Dyn); ++i) {
            const auto entry = file.record<Elf64_Dyn>(section, i);
            if (entry.d_tag == DT_NEEDED)
                needed.push_back(file.string(section, entry.d_un.d_val));
        }
    }
    return needed;
}

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    const ElfFile file(path);
    std::set<std::string> names;
    for (const Elf64_Shdr& section : file.sections) {
        if (section.sh_type != SHT_DYNSYM)
            continue;
        for (size_t i = 1; i < section.sh_size / sizeof(Elf64_Sym); ++i) {
            const auto symbol = file.record<Elf64_Sym>(section, i);
            if (symbol.st_shndx != SHN_UNDEF)
                names.insert(file.string(section, symbol.st_name));
        }
    }
    return names;
}

}  // namespace testing_support
