// The texture spans: each pixel's colour replaced through procs.texture at
// the projected coordinates. The coordinates step for every pixel, so the
// stippled twin gives surviving pixels what the plain span would.
#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_span.h"

namespace {

// Whether pixel k of the span is still alive in the stipple words.
bool Alive(const uint32_t *words, int32_t k) {
  return (words[k >> 5] & (0x80000000u >> (k & 31))) != 0;
}

template <bool kStippled>
GLbool8 TextureSpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  if (!gc->procs.texture) return 0;
  GLfloat s = sh.s, t = sh.t, q = sh.q, rho = sh.rho;
  for (int32_t k = 0; k < sh.length; ++k) {
    if (!kStippled || Alive(sh.stipplePat, k)) {
      const GLfloat w = 1.0f / q;
      gc->procs.texture(gc, &sh.spanColors[k], s * w, t * w, rho * w);
    }
    s += sh.dsdx;
    t += sh.dtdx;
    q += sh.dqdx;
    rho += sh.drhodx;
  }
  return 0;
}

}  // namespace

GLbool8 __glTextureSpan(GlContext *gc) { return TextureSpan<false>(gc); }
GLbool8 __glTextureStippledSpan(GlContext *gc) { return TextureSpan<true>(gc); }
