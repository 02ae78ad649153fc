// The pixel of the general span: the colour channels with the dither value
// of the pixel's column, each limited to [0, maximum] and packed into the
// frame buffer's format, stored in the pixel's size.
#include "codegen/og_ras_span.h"

#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

const size_t kChannels[3] = {offsetof(FrSpan, r), offsetof(FrSpan, g), offsetof(FrSpan, b)};

// eax = the channel's integer part (16.16 plus the dither value in ecx),
// limited to [0, max]. Values outside go to a fix-up out of line: rounding
// of steep planes carries them a little past either end, and a masked pack
// would wrap them to the other end.
void Channel(Gen &g, SpanLabels &l, size_t field, uint32_t max) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(field)));
  if (g.dither) g.E(add(gc, eax, ecx));
  g.E(sar(gc, eax, g.V(16)));
  LimitChannel(g, l, max);
}

}  // namespace

void LimitChannel(Gen &g, SpanLabels &l, uint32_t max) {
  GlContext *gc = g.gc;
  g.E(cmp(gc, eax, g.V(int32_t(max))));
  OgCode *fix = label(gc), *back = near_label(gc);
  g.E(ja(gc, fix));
  g.Mark(back);
  l.fixups.push_back({fix, back, max});
}

void WrapIndex(Gen &g) {
  // Indices wrap to the buffer's index bits.
  const uint32_t max = g.gc->drawBuffer->redMax;
  const uint32_t storeMask = g.bpp >= 4 ? 0xFFFFFFFFu : (1u << (8 * g.bpp)) - 1;
  if (max < storeMask) g.E(and_(g.gc, edx, g.V(int32_t(max))));
}

void StorePixel(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *to = mem2(gc, nullptr, edi);
  switch (g.bpp) {
    case 1:
      g.E(mov(gc, to, dl));
      break;
    case 2:
      g.E(size16(gc));
      g.E(mov(gc, to, edx));
      break;
    case 3:
      g.E(size16(gc));
      g.E(mov(gc, to, edx));
      g.E(shr(gc, edx, g.V(16)));
      g.E(mov(gc, mem2(gc, g.V(2), edi), dl));
      break;
    default:
      g.E(mov(gc, to, edx));
  }
}

void SpanPixel(Gen &g, SpanLabels &l) {
  GlContext *gc = g.gc;
  const GlColorBuffer *cfb = gc->drawBuffer;
  if (g.dither) {
    g.E(mov(gc, eax, g.Local(g.ditherColumn)));
    g.E(mov(gc, ecx, g.F(offsetof(FrSpan, ditherRow))));
    g.E(mov(gc, ecx, mem(gc, nullptr, ecx, eax, 4)));
  }
  if (!g.rgba) {
    g.E(mov(gc, edx, g.F(offsetof(FrSpan, r))));
    if (g.dither) g.E(add(gc, edx, ecx));
    g.E(shr(gc, edx, g.V(16)));
    WrapIndex(g);
  } else {
    const uint32_t max[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
    const uint32_t shift[3] = {cfb->redShift, cfb->greenShift, cfb->blueShift};
    for (int c = 0; c < 3; c++) {
      Channel(g, l, kChannels[c], max[c]);
      if (c == 0) {
        if (shift[c]) g.E(shl(gc, eax, g.V(int32_t(shift[c]))));
        g.E(mov(gc, edx, eax));
      } else {
        if (shift[c]) g.E(shl(gc, eax, g.V(int32_t(shift[c]))));
        g.E(or_(gc, edx, eax));
      }
    }
  }
  StorePixel(g);
}

void EmitFixups(Gen &g, SpanLabels &l) {
  GlContext *gc = g.gc;
  for (const SpanFixup &f : l.fixups) {
    // Below 0 (negative as a signed word) becomes 0, above max becomes max.
    g.Mark(f.fix);
    g.E(test(gc, eax, eax));
    g.E(mov(gc, eax, g.V(int32_t(f.max))));
    g.E(jns(gc, f.back));
    g.E(xor_(gc, eax, eax));
    g.E(jmp(gc, f.back));
  }
}

}  // namespace og_raster
