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

namespace {

// Words in memory step through mm0.
void StepWords(Gen &g, OgCode *words, OgCode *step, bool inMemory) {
  if (!inMemory) {
    g.E(paddw(g.gc, words, step));
    return;
  }
  g.E(movq(g.gc, mm0, words));
  g.E(paddw(g.gc, mm0, step));
  g.E(movq(g.gc, words, mm0));
}

}  // namespace

void genstep(MmxGen &m) {
  if (!m.writesColor) return;
  Gen &g = m.g;
  if (m.iterated && m.colorWords)
    for (int k = 0; k < 3; k++) StepWords(g, m.ColorWords(k), m.Slot(kSlotColorStep + k), m.InSlot(k));
  if (m.iterated && m.blendAlpha)
    StepWords(g, m.Slot(kSlotAlpha), m.Slot(kSlotColorStep + 3), true);
  if (m.texturing) {
    g.E(paddw(g.gc, mm6, m.Slot(kSlotTexStep)));
    g.E(paddw(g.gc, mm7, m.Slot(kSlotTexStep + 1)));
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
// with an alpha factor the alpha.
void BlendSource(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  OgCode *const regs[3] = {mm5, mm6, mm7};
  for (int k = 0; k < 3; k++) {
    g.E(movq(gc, mm0, regs[k]));
    ClampWords(m, mm0);
    g.E(movq(gc, m.Slot(kSlotBlendSource + k), mm0));
  }
  if (m.blendAlpha) SourceAlpha(m);
}

}  // namespace

void ClampAlpha(MmxGen &m, OgCode *reg) {
  Gen &g = m.g;
  ClampWords(m, reg);
  g.E(paddusw(g.gc, reg, m.Words(0xFFFF - 0x4000)));
  g.E(psubusw(g.gc, reg, m.Words(0xFFFF - 0x4000)));
}

void SourceAlpha(MmxGen &m) {
  Gen &g = m.g;
  g.E(movq(g.gc, mm0, m.Slot(kSlotAlpha)));
  ClampAlpha(m, mm0);
  g.E(movq(g.gc, m.Slot(kSlotSourceAlpha), mm0));
}

void genpix(MmxGen &m) {
  Gen &g = m.g;
  if (m.texturing) {
    TexturePix(m);
  } else if (m.blend) {
    BlendSource(m);
    genblend(m);
  } else if (m.iterated) {
    PackWords(m);
  } else {
    g.E(movq(g.gc, mm0, mm7));
  }
}

}  // namespace og_raster
