// The parameters of every slot, read from the slot table's parameter text:
// what each argument is (by its GL type and name), so the fuzzer draws
// values that fit it.
#pragma once

#include <string>
#include <vector>

enum class FuzzType { Enum, Bitfield, Boolean, Int, Float, Pointer };

struct FuzzParam {
  FuzzType type;
  std::string name;      // "width", "pname", ...
  std::string glType;    // "GLsizei", "GLfloat", ... (the pointee's for pointers)
  bool output = false;   // a pointer the call writes through
  int elementBytes = 0;  // the pointee's size (1 for GLvoid)
};

struct FuzzEntry {
  int slot;
  const char *name;  // without "gl"
  std::vector<FuzzParam> params;
};

// Every slot in table order.
const std::vector<FuzzEntry> &FuzzEntries();
// The slot of a name without "gl", or -1.
int FuzzSlotOf(const std::string &name);
