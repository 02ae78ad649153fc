// The loader library exports exactly the intended names: the GL 1.1
// functions of the slot table and the rows of the export table (the wgl and
// GDI pixel-format functions and the test control), read from the library's
// dynamic symbol table.
#include <elf.h>
#include <gtest/gtest.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/gl_slots.h"
#include "loader/export_table.h"

namespace {

// The names of the defined global and weak symbols of an ELF32 shared
// library's dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::set<std::string> names;
  if (bytes.size() < sizeof(Elf32_Ehdr)) return names;
  const Elf32_Ehdr *header = reinterpret_cast<const Elf32_Ehdr *>(bytes.data());
  if (memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS32)
    return names;
  if (header->e_shoff + size_t(header->e_shnum) * sizeof(Elf32_Shdr) > bytes.size()) return names;
  const Elf32_Shdr *sections = reinterpret_cast<const Elf32_Shdr *>(bytes.data() + header->e_shoff);
  for (unsigned i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const Elf32_Shdr &strings = sections[sections[i].sh_link];
    const Elf32_Sym *symbols =
        reinterpret_cast<const Elf32_Sym *>(bytes.data() + sections[i].sh_offset);
    size_t count = sections[i].sh_size / sizeof(Elf32_Sym);
    for (size_t k = 0; k < count; ++k) {
      const Elf32_Sym &sym = symbols[k];
      unsigned binding = ELF32_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
      names.insert(bytes.data() + strings.sh_offset + sym.st_name);
    }
  }
  return names;
}

std::set<std::string> IntendedExports() {
  std::set<std::string> names;
#define EXPORT_NAME(s, Name, words, list, Ret, params) \
  if (s < GL_SLOT_CORE_COUNT) names.insert("gl" #Name);
  GL_SLOTS(EXPORT_NAME)
#undef EXPORT_NAME
#define LOADER_EXPORT_NAME(name, convention, Ret, params) names.insert(#name);
  LOADER_EXPORTS(LOADER_EXPORT_NAME)
#undef LOADER_EXPORT_NAME
  return names;
}

TEST(LoaderExports, TheLibraryExportsExactlyTheIntendedNames) {
  std::set<std::string> exported = DefinedDynamicSymbols(VLX_LOADER_PATH);
  ASSERT_FALSE(exported.empty()) << "no dynamic symbols read from " << VLX_LOADER_PATH;
  std::set<std::string> intended = IntendedExports();
  std::vector<std::string> missing, extra;
  for (const std::string &name : intended)
    if (!exported.count(name)) missing.push_back(name);
  for (const std::string &name : exported)
    if (!intended.count(name)) extra.push_back(name);
  EXPECT_TRUE(missing.empty()) << "missing: " << testing::PrintToString(missing);
  EXPECT_TRUE(extra.empty()) << "not intended: " << testing::PrintToString(extra);
  // No row of the export table repeats itself or a GL name.
#define LOADER_EXPORT_ONE(name, convention, Ret, params) +1
  EXPECT_EQ(intended.size(), size_t(GL_SLOT_CORE_COUNT) LOADER_EXPORTS(LOADER_EXPORT_ONE));
#undef LOADER_EXPORT_ONE
}

}  // namespace
