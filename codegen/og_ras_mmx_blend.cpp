// Blending in the MMX body. Colour words keep the channel's top bit at 14,
// alpha and factors hold 1.0 as 16384, so that pmulhw of a colour and a
// factor leaves the colour with its top bit at 12 and every operand stays
// below 0x8000. The buffer keeps no alpha: destination alpha is 1.0.
#include "codegen/og_ras_mmx.h"
#include "core/gl_assert.h"

namespace og_raster {

bool uses_alpha(GLenum factor) {
  switch (factor) {
    case GL_SRC_ALPHA:
    case GL_ONE_MINUS_SRC_ALPHA:
    case GL_DST_ALPHA:
    case GL_ONE_MINUS_DST_ALPHA:
    case GL_SRC_ALPHA_SATURATE:
      return true;
    case GL_ZERO:
    case GL_ONE:
    case GL_SRC_COLOR:
    case GL_ONE_MINUS_SRC_COLOR:
    case GL_DST_COLOR:
    case GL_ONE_MINUS_DST_COLOR:
      return false;
    default:
      break;
  }
  __glAssertFailed("0", "og_ras", __LINE__);
}

bool has_alpha(GLenum baseFormat) {
  switch (baseFormat) {
    case GL_ALPHA:
    case GL_RGBA:
    case GL_LUMINANCE_ALPHA:
    case GL_INTENSITY:
      return true;
    case GL_RGB:
    case GL_LUMINANCE:
      return false;
    default:
      break;
  }
  __glAssertFailed("0", "og_ras", __LINE__);
}

namespace {

// The code was made for one blend factor; a context whose factor has
// changed without a new routine stops here rather than draw wrongly.
void Guard(Gen &g, const GLenum *factor, GLenum made) {
  OgCode *same = near_label(g.gc);
  g.E(cmp(g.gc, g.Abs(factor), g.V(int32_t(made))));
  g.E(je(g.gc, same));
  g.E(int3(g.gc));
  g.Mark(same);
}

// Slot `at` = 1.0 - slot `of`, or (2.0 - slot `of`) / 2 for colours.
void OneMinus(MmxGen &m, int32_t at, int32_t of, bool color) {
  Gen &g = m.g;
  g.E(movq(g.gc, mm0, color ? m.Words(0x8000) : m.Slot(kSlotOne)));
  g.E(psubw(g.gc, mm0, m.Slot(of)));
  if (color) g.E(psrlw(g.gc, mm0, g.V(1)));
  g.E(movq(g.gc, m.Slot(at), mm0));
}

}  // namespace

void calc_blend_factor(MmxGen &m, OgCode *out[3], GLenum factor, int32_t at) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const auto same = [&](OgCode *op) { out[0] = out[1] = out[2] = op; };
  switch (factor) {
    case GL_ZERO: return same(m.Words(0));
    case GL_ONE: return same(m.Slot(kSlotOne));
    case GL_SRC_ALPHA: return same(m.Slot(kSlotSourceAlpha));
    case GL_DST_ALPHA: return same(m.Slot(kSlotDestAlpha));
    case GL_ONE_MINUS_SRC_ALPHA:
      OneMinus(m, at, kSlotSourceAlpha, false);
      return same(m.Slot(at));
    case GL_ONE_MINUS_DST_ALPHA:
      OneMinus(m, at, kSlotDestAlpha, false);
      return same(m.Slot(at));
    case GL_SRC_ALPHA_SATURATE:
      // min(source alpha, 1.0 - destination alpha) by a signed compare.
      g.E(movq(gc, mm0, m.Slot(kSlotSourceAlpha)));
      g.E(movq(gc, mm1, m.Slot(kSlotOne)));
      g.E(psubw(gc, mm1, m.Slot(kSlotDestAlpha)));
      g.E(movq(gc, mm2, mm0));
      g.E(pcmpgtw(gc, mm2, mm1));
      g.E(pand(gc, mm1, mm2));
      g.E(pandn(gc, mm2, mm0));
      g.E(por(gc, mm1, mm2));
      g.E(movq(gc, m.Slot(at), mm1));
      return same(m.Slot(at));
    default:
      break;
  }
  // Colour factors: the colour at top bit 14 halved holds 1.0 near 16384.
  int32_t of;
  switch (factor) {
    case GL_SRC_COLOR: case GL_ONE_MINUS_SRC_COLOR: of = kSlotBlendSource; break;
    case GL_DST_COLOR: case GL_ONE_MINUS_DST_COLOR: of = kSlotBlendDest; break;
    default: __glAssertFailed("0", "og_ras", __LINE__);
  }
  const bool minus = factor == GL_ONE_MINUS_SRC_COLOR || factor == GL_ONE_MINUS_DST_COLOR;
  for (int k = 0; k < 3; k++) {
    if (minus) {
      OneMinus(m, at + k, of + k, true);
    } else {
      g.E(movq(gc, mm0, m.Slot(of + k)));
      g.E(psrlw(gc, mm0, g.V(1)));
      g.E(movq(gc, m.Slot(at + k), mm0));
    }
    out[k] = m.Slot(at + k);
  }
}

void clamp_blend_factor(MmxGen &m, OgCode *reg) {
  m.g.E(paddsw(m.g.gc, reg, reg));
  m.g.E(paddsw(m.g.gc, reg, reg));
}

void genblend(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  Guard(g, &gc->state.raster.blendSrc, m.sourceFactor);
  Guard(g, &gc->state.raster.blendDst, m.destFactor);
  // The destination group as words with zero high bytes, then each
  // channel at top bit 14.
  if (m.groupBytes == 4) {
    g.E(movd(gc, mm0, mem2(gc, nullptr, edi)));
    g.E(pxor(gc, mm1, mm1));
    g.E(punpcklbw(gc, mm0, mm1));
  } else {
    g.E(movq(gc, mm0, mem2(gc, nullptr, edi)));
  }
  for (int k = 0; k < 3; k++) {
    g.E(movq(gc, mm1, mm0));
    g.cb = mmxgobit(gc, g.cb, mm1, int32_t(m.shift[k]) + m.bits[k], 14);
    g.E(pand(gc, mm1, m.Words(m.max[k] << (14 - m.bits[k]))));
    g.E(movq(gc, m.Slot(kSlotBlendDest + k), mm1));
  }
  const bool sum = m.sourceFactor == GL_ONE && m.destFactor == GL_ONE;
  const bool source = m.sourceFactor != GL_ZERO;
  OgCode *sf[3], *df[3];
  if (!sum) {
    calc_blend_factor(m, sf, m.sourceFactor, kSlotSourceFactor);
    calc_blend_factor(m, df, m.destFactor, kSlotDestFactor);
  }
  for (int k = 0; k < 3; k++) {
    OgCode *to = k == 0 ? mm0 : mm1;
    int32_t top = 14;
    if (sum) {
      g.E(movq(gc, to, m.Slot(kSlotBlendSource + k)));
      g.E(paddsw(gc, to, m.Slot(kSlotBlendDest + k)));
    } else {
      g.E(movq(gc, to, m.Slot(kSlotBlendDest + k)));
      g.E(pmulhw(gc, to, df[k]));
      top = 12;
      if (source) {
        g.E(movq(gc, mm2, m.Slot(kSlotBlendSource + k)));
        g.E(pmulhw(gc, mm2, sf[k]));
        g.E(paddsw(gc, to, mm2));
        clamp_blend_factor(m, to);
        top = 14;
      }
    }
    if (g.dither) {
      if (top < 14) g.E(psllw(gc, to, g.V(14 - top)));
      top = 14;
      g.E(paddsw(gc, to, m.Slot(kSlotDitherRow + k)));
    }
    PackChannel(m, to, k, top);
    if (k) g.E(por(gc, mm0, mm1));
  }
}

}  // namespace og_raster
