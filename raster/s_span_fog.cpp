// The fog spans: from the fog factor iterated across the span, or per
// fragment from the eye-space z the span carries instead. The running
// value steps for every pixel; each pixel clamps its own copy.
#include <math.h>

#include "core/context.h"
#include "raster/s_fog_factor.h"
#include "raster/s_shader.h"
#include "raster/s_span.h"

namespace {

bool Alive(const uint32_t *words, int32_t k) {
  return (words[k >> 5] & (0x80000000u >> (k & 31))) != 0;
}

template <bool kStippled, bool kPerFragment>
GLbool8 FogSpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlFogState &fog = gc->state.fog;
  const GLfloat one = gc->constants.one;
  const bool rgba = (sh.modeFlags & __GL_SHADE_RGB) != 0;
  GLfloat value = sh.fog;  // the factor, or the eye z
  for (int32_t k = 0; k < sh.length; ++k) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      GLfloat f = kPerFragment ? __glFogFactor(fog, fabsf(value), false) : value;
      f = __glClampFog(f, one);
      GlColor &c = sh.spanColors[k];
      if (rgba)
        __glBlendFogRGB(&c, c, fog.scaledColor, f);
      else
        c.r = __glBlendFogIndex(c.r, fog.index, f);
    }
    value += sh.dfdx;
  }
  return 0;
}

}  // namespace

GLbool8 __glFogSpan(GlContext *gc) { return FogSpan<false, false>(gc); }
GLbool8 __glFogStippledSpan(GlContext *gc) { return FogSpan<true, false>(gc); }
GLbool8 __glFogSpanSlow(GlContext *gc) { return FogSpan<false, true>(gc); }
GLbool8 __glFogStippledSpanSlow(GlContext *gc) { return FogSpan<true, true>(gc); }
