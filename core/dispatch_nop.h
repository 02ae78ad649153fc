// The initializer of a no-op dispatch table: slot s holds __glnop_NopN, N being
// the slot's argument words, so each entry pops what its caller pushed and
// returns 0. Shared by the static no-op table and the static placeholder
// context, both of which must be filled before any code runs.
#pragma once

#include "core/dispatch.h"
#include "core/s_nop.h"

// The no-ops are typed by words, not by the slot's arguments; the callee-pops
// convention makes them interchangeable. The cast goes through void (*)(void),
// the type that stands for "some procedure".
#define GL_NOP_ENTRY(s, Name, words, list, Ret, params) \
  .Name = reinterpret_cast<GlProc_##Name>(reinterpret_cast<void (*)(void)>(&__glnop_Nop##words)),
#define GL_NOP_DISPATCH_INITIALIZER \
  { .count = GL_SLOT_CORE_COUNT, GL_SLOTS(GL_NOP_ENTRY).zero = {0, 0, 0} }
