// Small emission helpers of the raster and setup generators, and the blend
// factor index of the raster key.
#include "codegen/og_ras_emit.h"
#include "codegen/og_ras_walk.h"

#include "core/gl_assert.h"

namespace og_raster {

uint8_t *ds(GlContext *gc, uint8_t *cb, OgCode *m, OgCode *d) {
  cb = emit_code(gc, cb, mov(gc, eax, m));
  cb = emit_code(gc, cb, mov(gc, ecx, d));
  cb = emit_code(gc, cb, add(gc, eax, ecx));
  return emit_code(gc, cb, mov(gc, m, eax));
}

uint8_t *dyv(GlContext *gc, uint8_t *cb, OgCode *m, OgCode *d, OgCode *r1, OgCode *r2) {
  cb = emit_code(gc, cb, mov(gc, r2, d));
  cb = emit_code(gc, cb, mov(gc, r1, m));
  return emit_code(gc, cb, add(gc, r1, r2));
}

uint8_t *memov(GlContext *gc, uint8_t *cb, OgCode *to, OgCode *from) {
  cb = emit_code(gc, cb, mov(gc, eax, from));
  return emit_code(gc, cb, mov(gc, to, eax));
}

uint8_t *gobit(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t from, int32_t to) {
  if (to > from) return emit_code(gc, cb, shl(gc, reg, value(gc, to - from)));
  if (to < from) return emit_code(gc, cb, shr(gc, reg, value(gc, from - to)));
  return cb;
}

uint8_t *mmxgobit(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t from, int32_t to) {
  if (to > from) return emit_code(gc, cb, psllw(gc, reg, value(gc, to - from)));
  if (to < from) return emit_code(gc, cb, psrlw(gc, reg, value(gc, from - to)));
  return cb;
}

uint8_t *clamp(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t limit) {
  OgCode *below = near_label(gc);
  cb = emit_code(gc, cb, cmp(gc, reg, value(gc, limit)));
  cb = emit_code(gc, cb, jl(gc, below));
  cb = emit_code(gc, cb, mov(gc, reg, value(gc, limit - 1)));
  resolve(gc, below, cb);
  return cb;
}

int32_t log2(uint32_t v) {
  int32_t n = 0;
  while (v > 1) {
    v >>= 1;
    n++;
  }
  return n;
}

uint32_t bf_to_index(GLenum factor) {
  switch (factor) {
    case GL_ZERO: return 0;
    case GL_ONE: return 1;
    case GL_SRC_COLOR: return 2;
    case GL_ONE_MINUS_SRC_COLOR: return 3;
    case GL_SRC_ALPHA: return 4;
    case GL_ONE_MINUS_SRC_ALPHA: return 5;
    case GL_DST_ALPHA: return 6;
    case GL_ONE_MINUS_DST_ALPHA: return 7;
    case GL_DST_COLOR: return 8;
    case GL_ONE_MINUS_DST_COLOR: return 9;
    case GL_SRC_ALPHA_SATURATE: return 10;
    default: break;
  }
  __glAssertFailed("0", "og_ras", __LINE__);
}

}  // namespace og_raster
