// Nearest and linear sampling of one texture level with GL_REPEAT or
// GL_CLAMP wrapping. Coordinates of any value, NaN and infinities included,
// read a texel of the level, its border or the border colour.
#include <math.h>

#include "core/gl_convert.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texel_blend.h"

namespace {

// Truncation toward zero, not floor: -0.5 reads texel 0.
int32_t NearestIndex(GLfloat u, GLenum wrap, int32_t size) {
  const int32_t i = __glTruncateToInt(u);
  if (wrap == GL_REPEAT) return i & (size - 1);
  return i < 0 ? 0 : (i > size - 1 ? size - 1 : i);
}

// The two taps around u and the weight of the second. Clamped taps may be
// -1 or size: the border or the border colour.
struct Taps {
  int32_t i0, i1;
  GLfloat frac;
};

Taps LinearTaps(GLfloat u, GLenum wrap, int32_t size, GLfloat sizef) {
  if (wrap != GL_REPEAT) {
    if (!(u >= 0.0f)) u = 0.0f;  // NaN too
    if (u > sizef) u = sizef;
  }
  const GLfloat shifted = u - 0.5f;
  const int32_t below = __glFloorToInt(shifted);
  GLfloat frac = shifted - floorf(shifted);
  if (!(frac >= 0.0f && frac < 1.0f)) frac = 0.0f;  // NaN or infinite u
  if (wrap == GL_REPEAT) {
    const int32_t i0 = below & (size - 1);
    return {i0, (i0 + 1) & (size - 1), frac};
  }
  return {below, below + 1, frac};
}

void Extract(GlTextureObject *tex, GlTextureLevel *level, int32_t row, int32_t col,
             GlTexel *texel) {
  level->extract(level, tex, 0, row, col, __glTexelBytes(texel));
}

}  // namespace

void __glNearestFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat,
                        GlTexel *result) {
  Extract(tex, level, 0, NearestIndex(u, tex->wrapS, level->width2), result);
}

void __glNearestFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                        GlTexel *result) {
  const int32_t col = NearestIndex(u, tex->wrapS, level->width2);
  const int32_t row = NearestIndex(v, tex->wrapT, level->height2);
  Extract(tex, level, row, col, result);
}

void __glLinearFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat,
                       GlTexel *result) {
  const Taps s = LinearTaps(u, tex->wrapS, level->width2, level->width2f);
  GlTexel taps[2] = {};
  Extract(tex, level, 0, s.i1, &taps[0]);
  Extract(tex, level, 0, s.i0, &taps[1]);
  const GLfloat weights[2] = {s.frac, 1.0f - s.frac};
  __glBlendTexels(tex->baseFormat, taps, weights, result);
}

void __glLinearFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                       GlTexel *result) {
  const Taps s = LinearTaps(u, tex->wrapS, level->width2, level->width2f);
  const Taps t = LinearTaps(v, tex->wrapT, level->height2, level->height2f);
  // Summed as T11, T10, T01, T00.
  GlTexel taps[4] = {};
  Extract(tex, level, t.i1, s.i1, &taps[0]);
  Extract(tex, level, t.i0, s.i1, &taps[1]);
  Extract(tex, level, t.i1, s.i0, &taps[2]);
  Extract(tex, level, t.i0, s.i0, &taps[3]);
  const GLfloat a = s.frac, b = t.frac;
  const GLfloat weights[4] = {a * b, a * (1.0f - b), (1.0f - a) * b, (1.0f - a) * (1.0f - b)};
  __glBlendTexels(tex->baseFormat, taps, weights, result);
}
