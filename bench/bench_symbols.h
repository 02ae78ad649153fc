// Routine names for addresses inside loaded files, from the file's full
// symbol table: the driver library exports few names (the rest are hidden),
// so dladdr alone would name only the exported entries.
#pragma once

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class SymbolFiles {
 public:
  // The routine of the file loaded at `base` that holds `address`, "PLT
  // stubs" inside the stubs that call other files; empty when no routine of
  // the file's symbol table holds it.
  std::string Find(const char *path, uintptr_t base, uintptr_t address);

 private:
  struct Routine {
    uint32_t start, size;
    std::string name;
  };
  struct File {
    bool relative = true;  // offsets from the load base
    uint32_t pltStart = 0, pltEnd = 0;  // the calls into other files
    std::vector<Routine> routines;  // by start
  };
  const File &Load(const char *path);
  std::map<std::string, File> files_;
};

}  // namespace bench
