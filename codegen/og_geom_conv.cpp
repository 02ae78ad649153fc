// Array conversion fragments of the compiled vertex routine: one element of
// any type the array entry points accept, loaded from eax and stored as
// floats into the record at edi. Type, size and scale are settled here, so
// the emitted code holds only loads, constant multiplies and stores.
#include <math.h>
#include <stddef.h>
#include <string.h>

#include "codegen/og.h"
#include "codegen/og_gen.h"
#include "codegen/og_geom.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "geometry/s_vertex.h"
#include "raster/s_shader.h"

namespace {

struct Gen : OgGen {
  OgCode *Rec(size_t offset) { return At(edi, int32_t(offset)); }
};

constexpr int32_t kOneBits = 0x3F800000;

uint32_t Bits(float f) {
  uint32_t b;
  memcpy(&b, &f, sizeof b);
  return b;
}

// The largest component value conv_load gives for a byte or short type
// (2c + 1 of the largest signed value equals the largest unsigned one).
double LargestCode(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return 255.0;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      return 65535.0;
    default:
      return 0.0;
  }
}

uint32_t ComponentBytes(GLenum type) {
  uint32_t size = 0;
  float scale = 0.0f;
  calc_size_and_scale(&size, &scale, type);
  return size;
}

}  // namespace

void calc_size_and_scale(uint32_t *size, float *scale, GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      *size = 1;
      *scale = 1.0f / 255.0f;
      return;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
      *size = 2;
      *scale = 1.0f / 65535.0f;
      return;
    case GL_INT:
    case GL_UNSIGNED_INT:
      *size = 4;
      *scale = 1.0f / 4294967296.0f;
      return;
    case GL_FLOAT:
      *size = 4;
      *scale = 1.0f;
      return;
    case GL_DOUBLE:
      *size = 8;
      *scale = 1.0f;
      return;
    default:
      __GL_ASSERT(false, "GL_FALSE", "og_geom");
      *size = 4;
      *scale = 1.0f;
  }
}

uint8_t *conv_load(GlContext *gc, uint8_t *cb, OgCode *src, GLenum type, OgCode *temp) {
  Gen g{{gc, cb}};
  switch (type) {
    case GL_BYTE:
    case GL_SHORT:
      g.E(type == GL_BYTE ? movsx(gc, ebx, src) : movsxw(gc, ebx, src));
      g.E(add(gc, ebx, ebx));
      g.E(inc(gc, ebx));
      g.E(mov(gc, temp, ebx));
      g.E(fild(gc, temp));
      break;
    case GL_UNSIGNED_BYTE:
    case GL_UNSIGNED_SHORT:
      g.E(type == GL_UNSIGNED_BYTE ? movzx(gc, ebx, src) : movzxw(gc, ebx, src));
      g.E(mov(gc, temp, ebx));
      g.E(fild(gc, temp));
      break;
    case GL_INT:
      g.E(fild(gc, src));
      g.E(fmul(gc, fpk(gc, 2.0)));
      g.E(fadd(gc, fpk(gc, 1.0)));
      break;
    case GL_UNSIGNED_INT:
      // Loaded as a 64-bit integer with a zero high word: no sign.
      g.E(mov(gc, ebx, src));
      g.E(lea(gc, ecx, temp));
      g.E(mov(gc, g.At(ecx, 0), ebx));
      g.E(mov(gc, g.At(ecx, 4), g.V(0)));
      g.E(fildq(gc, g.At(ecx, 0)));
      break;
    default:
      return do_load(gc, cb, src, type, temp);
  }
  return g.cb;
}

// Coordinates: whole numbers as they are; floats for both.
uint8_t *do_load(GlContext *gc, uint8_t *cb, OgCode *src, GLenum type, OgCode *temp) {
  Gen g{{gc, cb}};
  switch (type) {
    case GL_SHORT:
      g.E(movsxw(gc, ebx, src));
      g.E(mov(gc, temp, ebx));
      g.E(fild(gc, temp));
      break;
    case GL_INT:
      g.E(fild(gc, src));
      break;
    case GL_FLOAT:
      g.E(fld(gc, src));
      break;
    case GL_DOUBLE:
      g.E(fldq(gc, src));
      break;
    default:
      __GL_ASSERT(false, "0", "og_geom");
      og_fail(gc, "do_load: type");
  }
  return g.cb;
}

uint8_t *CopyCoord(GlContext *gc, uint8_t *cb, GLenum type, uint32_t size, OgCode *d0,
                   OgCode *d1, OgCode *d2, OgCode *d3) {
  Gen g{{gc, cb}};
  OgCode *const dst[4] = {d0, d1, d2, d3};
  const int32_t step = int32_t(ComponentBytes(type));
  for (uint32_t i = 0; i < size && i < 4; i++) {
    OgCode *src = g.At(eax, int32_t(i) * step);
    if (type == GL_FLOAT) {
      g.E(mov(gc, ebx, src));
      g.E(mov(gc, dst[i], ebx));
    } else {
      // The destination doubles as the temporary of a short's load.
      g.cb = do_load(gc, g.cb, src, type, dst[i]);
      g.E(fstp(gc, dst[i]));
    }
  }
  for (uint32_t i = size; i < 4; i++) g.E(mov(gc, dst[i], g.V(i == 3 ? kOneBits : 0)));
  return g.cb;
}

uint8_t *CopyNormal(GlContext *gc, uint8_t *cb, GLenum type, OgCode *temp) {
  Gen g{{gc, cb}};
  uint32_t size = 0;
  float scale = 1.0f;
  calc_size_and_scale(&size, &scale, type);
  for (int32_t i = 0; i < 3; i++) {
    OgCode *src = g.At(eax, i * int32_t(size));
    OgCode *dst = g.Rec(offsetof(GlVertex, normal) + 4 * size_t(i));
    if (type == GL_FLOAT) {
      g.E(mov(gc, ebx, src));
      g.E(mov(gc, dst, ebx));
      continue;
    }
    g.cb = conv_load(gc, g.cb, src, type, temp);
    if (scale != 1.0f) g.E(fmul(gc, fpk(gc, scale)));
    g.E(fstp(gc, dst));
  }
  return g.cb;
}

float __glOgColorFactor(GLenum type, float channelScale) {
  uint32_t size = 0;
  float scale = 1.0f;
  calc_size_and_scale(&size, &scale, type);
  // Made in float, so that the pool takes it as it is.
  float factor = channelScale * scale;
  // The largest byte or short reaches the scale exactly: the limit then
  // takes off whatever the product has above it.
  const double largest = LargestCode(type);
  while (largest > 0.0 && double(factor) * largest < double(channelScale))
    factor = nextafterf(factor, INFINITY);
  return factor;
}

uint8_t *clamp(GlContext *gc, uint8_t *cb, OgCode *reg, OgCode *limit) {
  Gen g{{gc, cb}};
  OgCode *zero = near_label(gc), *within = near_label(gc), *done = near_label(gc);
  // Unsigned above +infinity: every negative value, -0.0 and every NaN.
  g.E(cmp(gc, reg, g.V(0x7F800000)));
  g.E(ja(gc, zero));
  g.E(cmp(gc, reg, limit));
  g.E(jle(gc, within));
  g.E(mov(gc, reg, limit));
  g.E(jmp(gc, done));
  g.Place(zero);
  g.E(xor_(gc, reg, reg));
  g.Place(within);
  g.Place(done);
  return g.cb;
}

uint8_t *CopyColor(GlContext *gc, uint8_t *cb, GLenum type, uint32_t size, OgCode *temp,
                   OgCode *r, OgCode *g_, OgCode *b, OgCode *a) {
  Gen g{{gc, cb}};
  if (gc->modes.colorIndexMode) {
    // Index arrays keep the C compile, which converts them as glIndex does.
    og_fail(gc, "CopyColor: colour-index mode");
    return g.cb;
  }
  const GlConstants &k = gc->constants;
  const float scales[4] = {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
  OgCode *const scratch[4] = {r, g_, b, a};
  uint32_t bytes = 0;
  float typeScale = 1.0f;
  calc_size_and_scale(&bytes, &typeScale, type);
  const bool alpha = gc->polygon.shader.modeFlags & __GL_SHADE_ALPHA;
  const uint32_t channels = size >= 4 ? (alpha ? 4 : 3) : 3;
  for (uint32_t c = 0; c < channels; c++) {
    g.cb = conv_load(gc, g.cb, g.At(eax, int32_t(c * bytes)), type, temp);
    const float factor = __glOgColorFactor(type, scales[c]);
    if (factor != 1.0f) g.E(fmul(gc, fpk(gc, factor)));
    g.E(fstp(gc, scratch[c]));
  }
  for (uint32_t c = 0; c < channels; c++) {
    g.E(mov(gc, ebx, scratch[c]));
    g.cb = clamp(gc, g.cb, ebx, g.V(int32_t(Bits(scales[c]))));
    g.E(mov(gc, g.Rec(offsetof(GlVertex, colors) + 4 * size_t(c)), ebx));
  }
  // Three components with alpha in use: opaque.
  if (alpha && channels == 3)
    g.E(mov(gc, g.Rec(offsetof(GlVertex, colors) + 12), g.V(int32_t(Bits(k.alphaScale)))));
  return g.cb;
}
