// Per-triangle code in front of the walk outside spanlet mode: the
// __glBlendTab rows of a flat colour under GL_MODULATE, the packed affine
// texture steps and the flat fill's table of dithered pixels.
#include "codegen/og_ras_walk.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"

namespace og_raster {
namespace {

const size_t kChannels[3] = {offsetof(FrSpan, r), offsetof(FrSpan, g), offsetof(FrSpan, b)};

uint32_t BitCount(uint32_t max) { return uint32_t(log2(max)) + 1; }

void BlendRows(Gen &g) {
  GlContext *gc = g.gc;
  const GlColorBuffer *cfb = gc->drawBuffer;
  const uint32_t max[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
  for (int c = 0; c < 3; c++) {
    const uint32_t n = g.dither ? BitCount(max[c]) : 8;
    g.E(mov(gc, eax, g.F(kChannels[c])));
    g.E(shr(gc, eax, g.V(int32_t(n))));
    g.E(and_(gc, eax, g.V(0xFF00)));
    g.E(add(gc, eax, g.V(int32_t(uintptr_t(__glBlendTab.data())))));
    g.E(mov(gc, g.Local(g.blendRows + 4 * c), eax));
  }
}

// A negative lower half borrows from the upper one.
void Borrow(Gen &g, OgCode *reg) {
  OgCode *positive = near_label(g.gc);
  g.E(test(g.gc, reg, g.V(0x8000)));
  g.E(je(g.gc, positive));
  g.E(sub(g.gc, reg, g.V(0x10000)));
  g.Mark(positive);
}

// Data word 24: dT's upper half over dS's; word 28: bits 12-15 of dS in
// bits 0-3 and of dT in bits 16-19.
void AffineSteps(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, dsdx))));
  if (g.widthLog2 < 16) g.E(shl(gc, eax, g.V(16 - g.widthLog2)));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, dtdx))));
  if (g.heightLog2 < 16) g.E(shl(gc, ecx, g.V(16 - g.heightLog2)));
  g.E(mov(gc, edx, eax));
  g.E(shr(gc, edx, g.V(16)));
  g.E(mov(gc, ebx, ecx));
  g.E(and_(gc, ebx, g.V(int32_t(0xFFFF0000u))));
  g.E(or_(gc, ebx, edx));
  Borrow(g, ebx);
  g.E(mov(gc, g.scratch[4], ebx));
  g.E(shr(gc, eax, g.V(12)));
  g.E(and_(gc, eax, g.V(0xF)));
  g.E(shr(gc, ecx, g.V(12)));
  g.E(and_(gc, ecx, g.V(0xF)));
  g.E(shl(gc, ecx, g.V(16)));
  g.E(or_(gc, eax, ecx));
  Borrow(g, eax);
  g.E(mov(gc, g.scratch[5], eax));
}

void FlatTable(Gen &g) {
  GlContext *gc = g.gc;
  if (g.bpp != 1 && g.bpp != 2 && g.bpp != 4) {
    og_fail(gc, "0");
    return;
  }
  const GlColorBuffer *cfb = gc->drawBuffer;
  const uint32_t shift[3] = {cfb->redShift, cfb->greenShift, cfb->blueShift};
  const int channels = g.rgba ? 3 : 1;
  for (int row = 0; row < 4; row++) {
    for (int col = 0; col < 4; col++) {
      g.E(xor_(gc, edx, edx));
      for (int c = 0; c < channels; c++) {
        g.E(mov(gc, eax, g.F(kChannels[c])));
        g.E(add(gc, eax, g.V(int32_t(__glFRDitherTable[row * FR_DITHER_ROW + col]))));
        g.E(shr(gc, eax, g.V(16)));
        if (g.rgba && shift[c]) g.E(shl(gc, eax, g.V(int32_t(shift[c]))));
        g.E(or_(gc, edx, eax));
      }
      OgCode *to = g.Local(g.ditherPixels + int32_t(g.bpp) * (row * 4 + col));
      if (g.bpp == 1) {
        g.E(mov(gc, to, dl));
      } else {
        if (g.bpp == 2) g.E(size16(gc));
        g.E(mov(gc, to, edx));
      }
    }
  }
}

}  // namespace

void EmitTriangleSetupCode(Gen &g) {
  if (g.spanlet) return;
  if (g.blendRows >= 0 && g.rgba) BlendRows(g);
  if (g.texturing && !g.perspective) AffineSteps(g);
  if (g.flatFill && g.dither) FlatTable(g);
}

}  // namespace og_raster
