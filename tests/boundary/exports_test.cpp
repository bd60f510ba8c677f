// The library exports exactly one symbol, its entry: read from the ELF
// dynamic symbol table of the built file.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support.h"

namespace boundary {
namespace {

// Names of the defined global and weak symbols of an ELF64 shared object.
std::set<std::string> defined_dynamic_symbols(const std::string& path, std::string& problem) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    Elf64_Ehdr eh;
    if (data.size() < sizeof eh) {
        problem = "file too small";
        return names;
    }
    std::memcpy(&eh, data.data(), sizeof eh);
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64) {
        problem = "not an ELF64 file";
        return names;
    }
    auto section = [&](size_t i) {
        Elf64_Shdr sh{};
        const size_t at = eh.e_shoff + i * eh.e_shentsize;
        if (at + sizeof sh <= data.size()) {
            std::memcpy(&sh, data.data() + at, sizeof sh);
        }
        return sh;
    };
    for (size_t i = 0; i < eh.e_shnum; ++i) {
        const Elf64_Shdr sh = section(i);
        if (sh.sh_type != SHT_DYNSYM) {
            continue;
        }
        const Elf64_Shdr strtab = section(sh.sh_link);
        for (size_t off = sh.sh_offset; off + sizeof(Elf64_Sym) <= sh.sh_offset + sh.sh_size; off += sizeof(Elf64_Sym)) {
            Elf64_Sym sym;
            std::memcpy(&sym, data.data() + off, sizeof sym);
            const unsigned bind = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK && bind != STB_GNU_UNIQUE)) {
                continue;
            }
            const size_t name_at = strtab.sh_offset + sym.st_name;
            if (name_at < data.size()) {
                names.insert(std::string(data.data() + name_at));
            }
        }
    }
    return names;
}

TEST(Exports, TheEntryIsTheOnlyDefinedDynamicSymbol) {
    std::string problem;
    const std::set<std::string> names = defined_dynamic_symbols(library_path(), problem);
    ASSERT_TRUE(problem.empty()) << problem;
    EXPECT_EQ(names, std::set<std::string>{"warfield_init"});
}

}  // namespace
}  // namespace boundary
