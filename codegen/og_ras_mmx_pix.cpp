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
}

void PackWords(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *const regs[3] = {mm5, mm6, mm7};
  for (int k = 0; k < 3; k++) {
    OgCode *to = k == 0 ? mm0 : mm1;
    g.E(movq(gc, to, regs[k]));
    // Words in [0x8000, 0xC000) ran past the top, those above 0xC000 below
    // 0: an offset by a quarter turns both ends into unsigned saturation.
    g.E(paddw(gc, to, m.Words(0x4000)));
    g.E(paddusw(gc, to, m.Words(0x4000)));
    g.E(psubusw(gc, to, m.Words(0x8000)));
    g.cb = mmxgobit(gc, g.cb, to, 14, int32_t(m.shift[k]) + m.bits[k]);
    g.E(pand(gc, to, m.Words(m.max[k] << m.shift[k])));
    if (k) g.E(por(gc, mm0, mm1));
  }
}

void genpix(MmxGen &m) {
  Gen &g = m.g;
  if (m.iterated) {
    PackWords(m);
  } else {
    g.E(movq(g.gc, mm0, mm7));
  }
}

}  // namespace og_raster
