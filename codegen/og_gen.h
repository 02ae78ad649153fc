// The cursor a generator carries while it writes a routine, with the operand
// shorthands every geometry generator uses. Generators that name fields of
// their own add them in a struct built on this one.
#pragma once

#include <stdint.h>

#include "codegen/og.h"

struct OgGen {
  GlContext *gc;
  uint8_t *cb;  // where the next instruction goes

  void E(OgCode *c) { cb = emit_code(gc, cb, c); }
  OgCode *V(int32_t v) { return value(gc, v); }
  // [p], an absolute address.
  OgCode *Abs(const void *p) { return mem(gc, value(gc, int32_t(uintptr_t(p))), nullptr, nullptr, 1); }
  // [base + d], without a displacement when d is 0.
  OgCode *At(OgCode *base, int32_t d) { return mem2(gc, d ? value(gc, d) : nullptr, base); }
  void Place(OgCode *label) { resolve(gc, label, cb); }
};
