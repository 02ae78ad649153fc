// Magnification and minification: level 0 alone, or the mipmap level or
// pair of levels the level value lambda selects.
#include "core/gl_convert.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texel_blend.h"

namespace {

void SampleLevel(GlTextureLevelFilterProc filter, GlTextureObject *tex, int32_t n, GLfloat s,
                 GLfloat t, GlTexel *result) {
  GlTextureLevel *level = tex->levels[n];
  filter(tex, level, s * level->width2f, t * level->height2f, result);
}

// Levels 1 and on: trunc(lambda + 0.49995), at most the last level.
int32_t NearestLevel(const GlTextureObject *tex, GLfloat lambda) {
  if (lambda <= 0.5f) return 0;
  const int32_t n = __glTruncateToInt(lambda + 0.49995f);
  return n < 0 ? 0 : (n > tex->maxLog2 ? tex->maxLog2 : n);
}

// Levels d - 1 and d blended by the fraction of lambda; past the last level
// the last level alone. Below level 1 there is no pair either (d = 0 would
// read the level before the first), so that takes the last level too.
void BlendLevels(GlTextureLevelFilterProc filter, GlTextureObject *tex, GLfloat lambda, GLfloat s,
                 GLfloat t, GlTexel *result) {
  const int32_t whole = __glTruncateToInt(lambda);
  if (whole >= tex->maxLog2 || whole < 0) {
    SampleLevel(filter, tex, tex->maxLog2, s, t, result);
    return;
  }
  const int32_t d = whole + 1;
  GlTexel taps[2] = {};
  SampleLevel(filter, tex, d - 1, s, t, &taps[0]);
  SampleLevel(filter, tex, d, s, t, &taps[1]);
  GLfloat f = lambda - GLfloat(__glFloorToInt(lambda));
  if (!(f >= 0.0f && f < 1.0f)) f = 0.0f;  // NaN
  const GLfloat weights[2] = {1.0f - f, f};
  __glBlendTexels(tex->baseFormat, taps, weights, result);
}

}  // namespace

GLfloat __glComputeLambda(GLfloat rho, int32_t lastLevel) {
  if (rho == 0.0f) return 0.0f;
  // Levels past 15 do not exist: a larger or NaN rho takes the one past the
  // last, which selects the last, without an integer conversion.
  if (!(rho < 4294967296.0f)) return GLfloat(lastLevel) + 1.0f;
  uint32_t whole = __glTruncateToUint(rho);
  int32_t n = 0;
  while (whole >>= 1) n++;
  const GLfloat power = GLfloat(1u << n);
  return ((rho - power) / power + GLfloat(n)) * 0.5f;
}

void __glNearestFilter(GlTextureObject *tex, GlTexel *result, GLfloat, GLfloat s, GLfloat t) {
  SampleLevel(tex->nearest, tex, 0, s, t, result);
}

void __glLinearFilter(GlTextureObject *tex, GlTexel *result, GLfloat, GLfloat s, GLfloat t) {
  SampleLevel(tex->linear, tex, 0, s, t, result);
}

void __glNMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t) {
  SampleLevel(tex->nearest, tex, NearestLevel(tex, lambda), s, t, result);
}

void __glLMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t) {
  SampleLevel(tex->linear, tex, NearestLevel(tex, lambda), s, t, result);
}

void __glNMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t) {
  BlendLevels(tex->nearest, tex, lambda, s, t, result);
}

void __glLMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t) {
  BlendLevels(tex->linear, tex, lambda, s, t, result);
}
