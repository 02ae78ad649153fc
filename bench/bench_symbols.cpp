#include "bench/bench_symbols.h"

#include <elf.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace bench {
namespace {

bool ReadAt(FILE *f, long offset, void *out, size_t size) {
  return fseek(f, offset, SEEK_SET) == 0 && fread(out, 1, size, f) == size;
}

}  // namespace

// A 32-bit ELF file's function symbols; a file that cannot be read, or reads
// as something else, has none.
const SymbolFiles::File &SymbolFiles::Load(const char *path) {
  const auto found = files_.find(path);
  if (found != files_.end()) return found->second;
  File &file = files_[path];
  FILE *f = fopen(path, "rb");
  if (!f) return file;
  Elf32_Ehdr header;
  if (ReadAt(f, 0, &header, sizeof header) && memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
      header.e_ident[EI_CLASS] == ELFCLASS32 && header.e_shentsize == sizeof(Elf32_Shdr)) {
    file.relative = header.e_type == ET_DYN;
    std::vector<Elf32_Shdr> sections(header.e_shnum);
    if (!ReadAt(f, long(header.e_shoff), sections.data(), sections.size() * sizeof(Elf32_Shdr)))
      sections.clear();
    const Elf32_Shdr *names = header.e_shstrndx < sections.size()
                                  ? &sections[header.e_shstrndx] : nullptr;
    for (const Elf32_Shdr &s : sections) {
      char name[8] = {};
      if (names && ReadAt(f, long(names->sh_offset + s.sh_name), name, sizeof name - 1) &&
          strcmp(name, ".plt") == 0)
        file.pltStart = s.sh_addr, file.pltEnd = s.sh_addr + s.sh_size;
      if (s.sh_type != SHT_SYMTAB || s.sh_link >= sections.size()) continue;
      const Elf32_Shdr &strings = sections[s.sh_link];
      std::vector<char> names(strings.sh_size + 1, '\0');
      std::vector<Elf32_Sym> symbols(s.sh_size / sizeof(Elf32_Sym));
      if (!ReadAt(f, long(strings.sh_offset), names.data(), strings.sh_size) ||
          !ReadAt(f, long(s.sh_offset), symbols.data(), symbols.size() * sizeof(Elf32_Sym)))
        continue;
      for (const Elf32_Sym &sym : symbols)
        if (ELF32_ST_TYPE(sym.st_info) == STT_FUNC && sym.st_value != 0 &&
            sym.st_name < strings.sh_size)
          file.routines.push_back({sym.st_value, sym.st_size, names.data() + sym.st_name});
    }
  }
  fclose(f);
  std::sort(file.routines.begin(), file.routines.end(),
            [](const Routine &a, const Routine &b) { return a.start < b.start; });
  // Routines of no recorded size (the assembler's small thunks) run up to
  // the next one.
  for (size_t i = 0; i + 1 < file.routines.size(); i++)
    if (file.routines[i].size == 0)
      file.routines[i].size = file.routines[i + 1].start - file.routines[i].start;
  return file;
}

std::string SymbolFiles::Find(const char *path, uintptr_t base, uintptr_t address) {
  const File &file = Load(path);
  const uint32_t offset = uint32_t(file.relative ? address - base : address);
  if (offset >= file.pltStart && offset < file.pltEnd) return "PLT stubs";
  const auto after = std::upper_bound(
      file.routines.begin(), file.routines.end(), offset,
      [](uint32_t value, const Routine &r) { return value < r.start; });
  if (after == file.routines.begin()) return std::string();
  const Routine &r = *(after - 1);
  return offset - r.start < r.size ? r.name : std::string();
}

}  // namespace bench
