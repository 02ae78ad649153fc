// Dithering and rounding spans: float components to the buffer's integer
// values, held at each component's maximum (no lower clamp).
#include <math.h>

#include "core/context.h"
#include "raster/s_dither.h"
#include "raster/s_span_ops.h"

namespace {

// Toward zero into 64 bits, so that 32-bit indexes times 16 still fit;
// NaN gives 0.
int64_t Truncate(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.2e18) return INT64_C(9200000000000000000);
  if (v <= -9.2e18) return -INT64_C(9200000000000000000);
  return int64_t(v);
}

GLfloat AtMost(int64_t v, uint32_t largest) {
  return GLfloat(v > int64_t(largest) ? int64_t(largest) : v);
}

// The ordered dither of one component: (d + round(16 c)) >> 4.
GLfloat Dither(GLfloat c, int64_t d, uint32_t largest) {
  return AtMost((d + Truncate(double(c) * 16.0 + 0.5)) >> 4, largest);
}

GLfloat Round(GLfloat c, uint32_t largest) { return AtMost(Truncate(double(c) + 0.5), largest); }

bool Live(const GlShader &sh, int32_t i) {
  return sh.stipplePat[i >> 5] & (0x80000000u >> (i & 31));
}

template <bool Stippled, bool Rgba>
GLbool8 DitherSpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  const uint8_t *row = __glDitherTable + 4 * (uint32_t(sh.y) & 3);
  for (int32_t i = 0; i < sh.length; i++) {
    if (Stippled && !Live(sh, i)) continue;
    const int64_t d = row[uint32_t(sh.x + i) & 3];
    GlColor &c = sh.spanColors[i];
    c.r = Dither(c.r, d, cfb->redMax);
    if (!Rgba) continue;
    c.g = Dither(c.g, d, cfb->greenMax);
    c.b = Dither(c.b, d, cfb->blueMax);
    c.a = Dither(c.a, d, cfb->alphaMax);
  }
  return 0;
}

template <bool Stippled, bool Rgba>
GLbool8 RoundSpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlColorBuffer *cfb = sh.cfb;
  for (int32_t i = 0; i < sh.length; i++) {
    if (Stippled && !Live(sh, i)) continue;
    GlColor &c = sh.spanColors[i];
    c.r = Round(c.r, cfb->redMax);
    if (!Rgba) continue;
    c.g = Round(c.g, cfb->greenMax);
    c.b = Round(c.b, cfb->blueMax);
    c.a = Round(c.a, cfb->alphaMax);
  }
  return 0;
}

}  // namespace

GLbool8 __glDitherRGBASpan(GlContext *gc) { return DitherSpan<false, true>(gc); }
GLbool8 __glDitherRGBAStippledSpan(GlContext *gc) { return DitherSpan<true, true>(gc); }
GLbool8 __glDitherCISpan(GlContext *gc) { return DitherSpan<false, false>(gc); }
GLbool8 __glDitherCIStippledSpan(GlContext *gc) { return DitherSpan<true, false>(gc); }
GLbool8 __glRoundRGBASpan(GlContext *gc) { return RoundSpan<false, true>(gc); }
GLbool8 __glRoundRGBAStippledSpan(GlContext *gc) { return RoundSpan<true, true>(gc); }
GLbool8 __glRoundCISpan(GlContext *gc) { return RoundSpan<false, false>(gc); }
GLbool8 __glRoundCIStippledSpan(GlContext *gc) { return RoundSpan<true, false>(gc); }
