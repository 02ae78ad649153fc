// Emitting a routine for the run tests: a small generator that writes at
// its own cursor, and operands for the cdecl arguments.
#pragma once

#include <stdint.h>

#include "codegen/og.h"
#include "core/context.h"

struct Gen {
  GlContext *gc;
  uint8_t *cb;
  void E(OgCode *c) { cb = emit_code(gc, cb, c); }
  // Argument `n` (1 = first) at entry, before anything was pushed.
  OgCode *Arg(int n) { return mem2(gc, value(gc, 4 * n), esp); }
  OgCode *V(int32_t v) { return value(gc, v); }
  OgCode *At(OgCode *base, int32_t d = 0) { return mem2(gc, d ? value(gc, d) : nullptr, base); }
  void Place(OgCode *l) { resolve(gc, l, cb); }
};
