// Emitting a routine for the run tests: a small generator that writes at
// its own cursor, operands for the cdecl arguments, the fixture every run
// test starts from and the edge values the integer runs try.
#pragma once

#include <stdint.h>

#include "codegen/og.h"
#include "core/context.h"
#include "tests/codegen/emitter/og_support.h"

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

// Each routine is generated at the start of the executable buffer. The
// fixtures are shared by the files of one test program: a suite split over
// several files needs one fixture class.
class RunTest : public OgTest {
 protected:
  Gen Start() {
    Begin();
    return Gen{gc, code};
  }
  // The routine is complete: no check may have failed.
  const void *Done(const Gen &) {
    EXPECT_EQ(Failure(), "");
    return code;
  }
};
class RunFpTest : public RunTest {};

inline const int32_t kEdges[] = {0,          1,           -1,          2,   100, -100,
                                 0x7FFFFFFF, INT32_MIN,   INT32_MIN + 1, 0x7F, 0x80, 0xFF,
                                 0x12345678, -0x12345678};
