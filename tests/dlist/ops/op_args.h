// Generated arguments for the calls of every dispatch slot, the calls made
// with them through any table, and the call a list op replays them as.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/dispatch.h"
#include "tests/support/call_log.h"

struct OpArg {
  unsigned size = 4;  // bytes of the argument itself
  uint64_t bits = 0;  // a value argument's bits
  bool pointer = false;
  bool null = false;          // pass a null pointer
  std::vector<uint8_t> data;  // what a pointer argument points to
};

struct OpCase {
  int slot;
  GLenum pname;  // 0 unless the command takes one
  std::vector<OpArg> args;
};

std::string SlotName(int slot);
// One case per valid pname for the pname commands (only the single-value
// ones for their scalar forms); one case for every other slot. Floats carry
// NaN payloads, -0.0 and denormals; bytes and shorts their sign bit.
std::vector<OpCase> CasesOf(int slot);
// Calls the entry with the slot's signature that `word` holds.
void CallSlot(int slot, GlDispatchWord word, const std::vector<OpArg> &args);

// The slot a list op replays a call on: a scalar form's vector slot (the
// one after it), except glFogf and glFogi, which replay themselves.
int ReplaySlot(int slot);
bool HoldsDoubles(int slot);
bool IsPointerArg(int slot, int index);
// The arguments of the replayed call: the call's own, or for a scalar
// form the vector form's (the values behind pointers).
std::vector<OpArg> ReplayView(int slot, const std::vector<OpArg> &args);
// The logged call has these arguments, pointers compared by what they
// point to.
bool SameCall(const LoggedCall &call, const std::vector<OpArg> &expected);
