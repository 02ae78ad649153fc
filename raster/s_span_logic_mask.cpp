// The colour-index logic-op span and the write-mask spans: each pixel
// against entry k of the fetched destination in fbcolors.
#include "core/context.h"
#include "raster/s_color_pixel.h"
#include "raster/s_span_ops.h"

namespace {

// The low 32 bits of a whole-number float, as the stores take them.
uint32_t Bits(GLfloat c) { return __glColorBits(c, 0.0f); }

template <bool Stippled>
GLbool8 LogicOpSpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GLenum op = gc->state.raster.logicOp;
  for (int32_t i = 0; i < sh.length; i++) {
    if (Stippled && !(sh.stipplePat[i >> 5] & (0x80000000u >> (i & 31)))) continue;
    // The bits are the same taken signed or unsigned; the result is signed.
    const uint32_t v = __glApplyLogicOp(op, Bits(sh.spanColors[i].r), Bits(sh.fbcolors[i].r));
    sh.spanColors[i].r = GLfloat(int32_t(v));
  }
  return 0;
}

}  // namespace

GLbool8 __glLogicOpSpan(GlContext *gc) { return LogicOpSpan<false>(gc); }
GLbool8 __glLogicOpStippledSpan(GlContext *gc) { return LogicOpSpan<true>(gc); }

GLbool8 __glMaskRGBASpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlRasterState &r = gc->state.raster;
  for (int32_t i = 0; i < sh.length; i++) {
    GlColor &c = sh.spanColors[i];
    const GlColor &d = sh.fbcolors[i];
    if (!r.rMask) c.r = d.r;
    if (!r.gMask) c.g = d.g;
    if (!r.bMask) c.b = d.b;
    if (!r.aMask) c.a = d.a;
  }
  return 0;
}

GLbool8 __glMaskCISpan(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  // The source is cut to the buffer's index bits too: a negative index from
  // the logic op would otherwise carry high bits that a float cannot hold,
  // and their rounding would change the low ones.
  const uint32_t indexMask = sh.cfb->redMax;
  const uint32_t written = gc->state.raster.writeMask & indexMask;
  const uint32_t kept = ~written & indexMask;
  for (int32_t i = 0; i < sh.length; i++) {
    const uint32_t s = Bits(sh.spanColors[i].r), d = Bits(sh.fbcolors[i].r);
    sh.spanColors[i].r = GLfloat((written & s) | (kept & d));
  }
  return 0;
}
