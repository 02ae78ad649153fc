// The GL steps: one call of any entry with drawn arguments, or a short
// structure of calls (a primitive between glBegin and glEnd, a display list
// compiled around other steps, stack pushes and pops past their depths,
// feedback and selection into small buffers, textures and vertex arrays
// defined and used).
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_invoke.h"
#include "tests/fuzz/fuzz_memory.h"
#include "tests/fuzz/fuzz_rng.h"

class FuzzCalls {
 public:
  explicit FuzzCalls(FuzzMemory &memory);
  void Act(FuzzRng &rng, std::string *what);
  // Each call is printed before it is made (so a crash shows its call).
  bool verbose = false;

 private:
  using Fix = std::function<void(FuzzArg *)>;
  void Call(FuzzRng &rng, int slot, std::string *what, const Fix &fix = nullptr);
  void CallNamed(FuzzRng &rng, const char *name, std::string *what, const Fix &fix = nullptr);
  void Primitive(FuzzRng &rng, std::string *what);
  void *Function(int slot);

  FuzzMemory &memory_;
  std::vector<void *> functions_;
  std::vector<int> vertexSlots_;  // what may come between glBegin and glEnd
  // Lists that already call another list: a second call in one list could
  // make nested calls grow exponentially (a hang that is the program's own).
  std::set<unsigned> listsWithCalls_;
};
