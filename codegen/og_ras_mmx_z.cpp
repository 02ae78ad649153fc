// The depth test of one group of the MMX body and the masked store. 32-bit
// depths compare as signed pairs; 16-bit depths are the high halves of the
// 16.16 lanes, compared unsigned through saturation. Before the compare and
// the write, every lane goes through the depth buffer's range rule: a word
// that rounding carried a little below 0 counts as 0, one past the far end
// as the scale.
#include "codegen/og_ras_mmx.h"

#include "raster/s_depth.h"

namespace og_raster {
namespace {

// The 32-bit range rule on the two lanes of `r` (mm0, mm3 scratch): words
// below 0 down to the middle of the unused range are 0, the other unused
// words the scale.
void InRange32(MmxGen &m, OgCode *r, uint32_t scale) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const uint32_t lowest = scale + (UINT32_MAX - scale) / 2 + 1;  // first word that counts as 0
  g.E(movq(gc, mm3, r));
  g.E(pcmpgtd(gc, mm3, m.Dword(scale)));    // past the far end
  g.E(movq(gc, mm0, m.Dword(lowest - 1)));
  g.E(pcmpgtd(gc, mm0, r));                 // far below 0: past the far end too
  g.E(por(gc, mm3, mm0));
  g.E(movq(gc, mm0, r));
  g.E(psrad(gc, mm0, g.V(31)));
  g.E(por(gc, mm0, mm3));
  g.E(pandn(gc, mm0, r));                   // in range, else 0
  g.E(pand(gc, mm3, m.Dword(scale)));
  g.E(por(gc, mm0, mm3));
  g.E(movq(gc, r, mm0));
}

// The 16.16 rule: words in the upper half of the unused range count as 0;
// the rest already have the scale's high half.
void InRange16(MmxGen &m, OgCode *r, uint32_t scale) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const uint32_t lowest = scale + (UINT32_MAX - scale) / 2 + 1;
  g.E(movq(gc, mm0, r));
  g.E(pcmpgtd(gc, mm0, m.Dword(lowest - 1)));  // signed: the unused words are negative
  g.E(movq(gc, mm3, r));
  g.E(psrad(gc, mm3, g.V(31)));
  g.E(pand(gc, mm0, mm3));
  g.E(pandn(gc, mm0, r));
  g.E(movq(gc, r, mm0));
}

enum class Test { kNone, kAll, kGreaterStored, kGreaterZ, kEqual, kZAtLeast, kStoredAtLeast };
struct DepthRule {
  Test test;
  bool invert;
};

// Each function as a compare and whether the mask is inverted: 32-bit
// compares are signed greater-than and equality.
DepthRule Rule32(GLenum func) {
  switch (func) {
    case GL_NEVER: return {Test::kNone, false};
    case GL_LESS: return {Test::kGreaterStored, false};
    case GL_EQUAL: return {Test::kEqual, false};
    case GL_LEQUAL: return {Test::kGreaterZ, true};
    case GL_GREATER: return {Test::kGreaterZ, false};
    case GL_NOTEQUAL: return {Test::kEqual, true};
    case GL_GEQUAL: return {Test::kGreaterStored, true};
    default: return {Test::kAll, false};
  }
}

// 16-bit compares are unsigned at-least and equality.
DepthRule Rule16(GLenum func) {
  switch (func) {
    case GL_NEVER: return {Test::kNone, false};
    case GL_LESS: return {Test::kZAtLeast, true};
    case GL_EQUAL: return {Test::kEqual, false};
    case GL_LEQUAL: return {Test::kStoredAtLeast, false};
    case GL_GREATER: return {Test::kStoredAtLeast, true};
    case GL_NOTEQUAL: return {Test::kEqual, true};
    case GL_GEQUAL: return {Test::kZAtLeast, false};
    default: return {Test::kAll, false};
  }
}

// mm0 = the 32-bit compare of z in `z` with the stored pair at `stored`.
void Compare32(Gen &g, Test t, OgCode *out, OgCode *z, OgCode *stored) {
  GlContext *gc = g.gc;
  if (t == Test::kGreaterStored) {
    g.E(movq(gc, out, stored));
    g.E(pcmpgtd(gc, out, z));
  } else {
    g.E(movq(gc, out, z));
    g.E(t == Test::kEqual ? pcmpeqd(gc, out, stored) : pcmpgtd(gc, out, stored));
  }
}

// a >= b unsigned for words: a - b wraps exactly when saturation stops it.
void AtLeast16(Gen &g, OgCode *a, OgCode *b) {
  GlContext *gc = g.gc;
  g.E(movq(gc, mm0, a));
  g.E(psubw(gc, mm0, b));
  g.E(movq(gc, mm3, a));
  g.E(psubusw(gc, mm3, b));
  g.E(pcmpeqw(gc, mm0, mm3));
}

// ecx = the pass mask: the compare's bytes, inverted if the rule says so,
// and-ed with the lane mask.
void FinishMask(Gen &g, const DepthRule &rule, bool masked) {
  GlContext *gc = g.gc;
  if (rule.test == Test::kNone) {
    g.E(xor_(gc, ecx, ecx));
    return;
  }
  if (rule.test == Test::kAll) {
    if (!masked) g.E(mov(gc, ecx, g.V(-1)));
    return;
  }
  if (masked) {
    g.E(movd(gc, eax, mm0));
    if (rule.invert) g.E(xor_(gc, eax, g.V(-1)));
    g.E(and_(gc, ecx, eax));
  } else {
    g.E(movd(gc, ecx, mm0));
    if (rule.invert) g.E(xor_(gc, ecx, g.V(-1)));
  }
}

// The mask bytes of ecx as words in mm0.
void MaskWords(Gen &g) {
  g.E(movd(g.gc, mm0, ecx));
  g.E(punpcklbw(g.gc, mm0, mm0));
}

void Depth32(MmxGen &m, bool masked, GLenum func, bool write, uint32_t scale) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *lo = mem2(gc, nullptr, esi), *hi = mem2(gc, g.V(8), esi);
  g.E(movq(gc, mm1, mm4));
  g.E(movq(gc, mm2, mm4));
  g.E(paddd(gc, mm2, m.Slot(kSlotDepthPair)));
  InRange32(m, mm1, scale);
  InRange32(m, mm2, scale);
  const DepthRule rule = Rule32(func);
  if (rule.test != Test::kNone && rule.test != Test::kAll) {
    Compare32(g, rule.test, mm0, mm1, lo);
    Compare32(g, rule.test, mm3, mm2, hi);
    g.E(packssdw(gc, mm0, mm3));
    g.E(packsswb(gc, mm0, mm0));
  }
  FinishMask(g, rule, masked);
  if (write && rule.test != Test::kNone) {
    MaskWords(g);
    g.E(movq(gc, mm3, mm0));
    g.E(punpcklwd(gc, mm0, mm0));
    g.E(punpckhwd(gc, mm3, mm3));
    g.E(pand(gc, mm1, mm0));
    g.E(pandn(gc, mm0, lo));
    g.E(por(gc, mm0, mm1));
    g.E(movq(gc, lo, mm0));
    g.E(pand(gc, mm2, mm3));
    g.E(pandn(gc, mm3, hi));
    g.E(por(gc, mm3, mm2));
    g.E(movq(gc, hi, mm3));
  }
}

void Depth16(MmxGen &m, bool masked, GLenum func, bool write, uint32_t scale) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *stored = mem2(gc, nullptr, esi);
  // mm4 holds lanes 0 and 2, mm4 plus the pair distance lanes 1 and 3.
  g.E(movq(gc, mm1, mm4));
  g.E(movq(gc, mm2, mm4));
  g.E(paddd(gc, mm2, m.Slot(kSlotDepthPair)));
  InRange16(m, mm1, scale);
  InRange16(m, mm2, scale);
  g.E(psrld(gc, mm1, g.V(16)));
  g.E(psrld(gc, mm2, g.V(16)));
  g.E(pslld(gc, mm2, g.V(16)));
  g.E(por(gc, mm1, mm2));  // the four depth words in memory order
  const DepthRule rule = Rule16(func);
  switch (rule.test) {
    case Test::kEqual:
      g.E(movq(gc, mm0, mm1));
      g.E(pcmpeqw(gc, mm0, stored));
      break;
    case Test::kZAtLeast:
      AtLeast16(g, mm1, stored);
      break;
    case Test::kStoredAtLeast:
      g.E(movq(gc, mm2, stored));
      AtLeast16(g, mm2, mm1);
      break;
    default:
      break;
  }
  if (rule.test != Test::kNone && rule.test != Test::kAll) g.E(packsswb(gc, mm0, mm0));
  FinishMask(g, rule, masked);
  if (write && rule.test != Test::kNone) {
    MaskWords(g);
    g.E(pand(gc, mm1, mm0));
    g.E(pandn(gc, mm0, stored));
    g.E(por(gc, mm0, mm1));
    g.E(movq(gc, stored, mm0));
  }
}

}  // namespace

void genz(MmxGen &m, bool masked, OgCode *none) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const GLenum func = gc->state.depth.testFunc;
  const bool write = gc->state.depth.writeEnable != 0;
  const uint32_t scale = gc->depthBuffer.scale;
  if (m.depthBytes == 4)
    Depth32(m, masked, func, write, scale);
  else
    Depth16(m, masked, func, write, scale);
  g.E(test(gc, ecx, ecx));
  g.E(je(gc, none));
}

void MaskedStore(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const int32_t bpp = int32_t(m.groupBytes / 4);
  for (int32_t i = 0; i < 4; i++) {
    OgCode *skip = near_label(gc);
    g.E(test(gc, ecx, g.V(0xFF)));
    g.E(je(gc, skip));
    g.E(movd(gc, eax, mm0));
    OgCode *to = mem2(gc, i ? g.V(i * bpp) : nullptr, edi);
    if (bpp == 1) {
      g.E(mov(gc, to, al));
    } else {
      g.E(size16(gc));
      g.E(mov(gc, to, eax));
    }
    g.Mark(skip);
    if (i < 3) {
      g.E(psrlq(gc, mm0, g.V(16)));
      g.E(shr(gc, ecx, g.V(8)));
    }
  }
}

}  // namespace og_raster
