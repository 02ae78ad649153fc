// The colour stage of the MMX body: colour words with their top bit at 14,
// limited to the channel's range and packed at the buffer's shifts, and the
// iterator helpers that set the words up.
#include "codegen/og_ras_mmx.h"

namespace og_raster {

void kerrect(Gen &g, const size_t *fields, int count, int32_t by) {
  GlContext *gc = g.gc;
  if (by <= 0) return;
  for (int i = 0; i < count; i++) {
    g.E(mov(gc, eax, g.F(fields[i])));
    g.E(shl(gc, eax, g.V(by)));
    g.E(mov(gc, g.F(fields[i]), eax));
  }
}

void rtz(Gen &g, OgCode *reg, int32_t n) {
  GlContext *gc = g.gc;
  g.E(movq(gc, mm3, reg));
  g.E(psrad(gc, mm3, g.V(31)));
  g.E(psrld(gc, mm3, g.V(n)));
  g.E(paddd(gc, reg, mm3));
}

void rtzw(Gen &g, OgCode *reg, int32_t n) {
  GlContext *gc = g.gc;
  g.E(movq(gc, mm3, reg));
  g.E(psraw(gc, mm3, g.V(15)));
  g.E(psrlw(gc, mm3, g.V(n)));
  g.E(paddw(gc, reg, mm3));
}

void genstep(MmxGen &m) {
  if (!m.iterated || !m.writesColor) return;
  Gen &g = m.g;
  OgCode *const regs[3] = {mm5, mm6, mm7};
  for (int k = 0; k < 3; k++) g.E(paddw(g.gc, regs[k], m.Slot(kSlotColorStep + k)));
  if (m.blendAlpha) {
    g.E(movq(g.gc, mm0, m.Slot(kSlotAlpha)));
    g.E(paddw(g.gc, mm0, m.Slot(kSlotColorStep + 3)));
    g.E(movq(g.gc, m.Slot(kSlotAlpha), mm0));
  }
}

void ClampWords(MmxGen &m, OgCode *reg) {
  Gen &g = m.g;
  // An offset by a quarter turns both ends into unsigned saturation.
  g.E(paddw(g.gc, reg, m.Words(0x4000)));
  g.E(paddusw(g.gc, reg, m.Words(0x4000)));
  g.E(psubusw(g.gc, reg, m.Words(0x8000)));
}

void PackChannel(MmxGen &m, OgCode *reg, int k, int32_t top) {
  Gen &g = m.g;
  g.cb = mmxgobit(g.gc, g.cb, reg, top, int32_t(m.shift[k]) + m.bits[k]);
  g.E(pand(g.gc, reg, m.Words(m.max[k] << m.shift[k])));
}

void PackWords(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *const regs[3] = {mm5, mm6, mm7};
  for (int k = 0; k < 3; k++) {
    OgCode *to = k == 0 ? mm0 : mm1;
    g.E(movq(gc, to, regs[k]));
    ClampWords(m, to);
    PackChannel(m, to, k, 14);
    if (k) g.E(por(gc, mm0, mm1));
  }
}

namespace {

// The blend source: the colour words limited to the channel's range, and
// with an alpha factor the alpha limited to [0, 1.0].
void BlendSource(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *const regs[3] = {mm5, mm6, mm7};
  for (int k = 0; k < 3; k++) {
    g.E(movq(gc, mm0, regs[k]));
    ClampWords(m, mm0);
    g.E(movq(gc, m.Slot(kSlotBlendSource + k), mm0));
  }
  if (!m.blendAlpha) return;
  g.E(movq(gc, mm0, m.Slot(kSlotAlpha)));
  ClampWords(m, mm0);
  g.E(paddusw(gc, mm0, m.Words(0xFFFF - 0x4000)));
  g.E(psubusw(gc, mm0, m.Words(0xFFFF - 0x4000)));
  g.E(movq(gc, m.Slot(kSlotSourceAlpha), mm0));
}

}  // namespace

void genpix(MmxGen &m) {
  Gen &g = m.g;
  if (m.blend) {
    BlendSource(m);
    genblend(m);
  } else if (m.iterated) {
    PackWords(m);
  } else {
    g.E(movq(g.gc, mm0, mm7));
  }
}

}  // namespace og_raster
