// Multiplication of a register by a small whole number known at generation
// time, with moves, adds and shifts only.
#include "codegen/og.h"

uint8_t *scaleby(GlContext *gc, uint8_t *cb, OgCode *d, OgCode *s, uint32_t n) {
  if (n <= 1) return emit_code(gc, cb, mov(gc, d, s));
  const uint32_t k = uint32_t(__builtin_ctz(n & ~1u));
  cb = scaleby(gc, cb, d, s, n >> k);
  cb = emit_code(gc, cb, k == 1 ? add(gc, d, d) : shl(gc, d, value(gc, int32_t(k))));
  if (n & 1) cb = emit_code(gc, cb, add(gc, d, s));
  return cb;
}
