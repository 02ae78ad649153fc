// The flat fill: one span of a flat colour without any per-pixel test.
// Single pixels up to the alignment, then groups of four pixels in one
// 32-bit store (1-byte pixels) or 64-bit x87 integer stores, then single
// pixels again. Right-to-left spans are filled from their lowest address.
#include "codegen/og_ras_walk.h"
#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

// The pattern of four pixels: edx for 1-byte pixels, st(0) otherwise. With
// dither esi points at the row of the table of dithered pixels.
void LoadPattern(Gen &g) {
  GlContext *gc = g.gc;
  if (g.dither) {
    g.E(mov(gc, esi, g.Local(g.ditherRowLocal)));
    if (g.bpp == 1)
      g.E(mov(gc, edx, mem2(gc, nullptr, esi)));
    else
      g.E(fildq(gc, mem2(gc, nullptr, esi)));
    return;
  }
  g.E(mov(gc, edx, g.F(offsetof(FrSpan, flatPixel))));
  if (g.bpp < 4) {
    if (g.bpp == 1) {
      g.E(and_(gc, edx, g.V(0xFF)));
      g.E(mov(gc, eax, edx));
      g.E(shl(gc, eax, g.V(8)));
      g.E(or_(gc, edx, eax));
    }
    g.E(and_(gc, edx, g.V(0xFFFF)));
    g.E(mov(gc, eax, edx));
    g.E(shl(gc, eax, g.V(16)));
    g.E(or_(gc, edx, eax));
  }
  if (g.bpp == 1) return;
  g.E(push(gc, edx));
  g.E(push(gc, edx));
  g.E(fildq(gc, mem2(gc, nullptr, esp)));
  g.E(add(gc, esp, g.V(8)));
}

// One pixel at edi. With dither it is the pattern pixel of its memory
// column, (address / bytes) mod 4, the one the group stores put there.
void StorePixel(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *to = mem2(gc, nullptr, edi);
  if (g.dither) {
    g.E(mov(gc, ecx, edi));
    if (g.bpp == 2) g.E(shr(gc, ecx, g.V(1)));
    g.E(and_(gc, ecx, g.V(3)));
    if (g.bpp == 1) {
      g.E(mov(gc, al, mem(gc, nullptr, esi, ecx, 1)));
      g.E(mov(gc, to, al));
    } else {
      g.E(size16(gc));
      g.E(mov(gc, eax, mem(gc, nullptr, esi, ecx, 2)));
      g.E(size16(gc));
      g.E(mov(gc, to, eax));
    }
  } else if (g.bpp == 1) {
    g.E(mov(gc, to, dl));
  } else {
    if (g.bpp == 2) g.E(size16(gc));
    g.E(mov(gc, to, edx));
  }
  g.E(add(gc, edi, g.V(int32_t(g.bpp))));
}

// Four pixels at edi, which is aligned.
void StoreGroup(Gen &g) {
  GlContext *gc = g.gc;
  if (g.bpp == 1) {
    g.E(mov(gc, mem2(gc, nullptr, edi), edx));
  } else {
    for (uint32_t at = 0; at < 4 * g.bpp; at += 8) {
      g.E(fld(gc, st0));
      g.E(fistpq(gc, mem2(gc, at ? g.V(int32_t(at)) : nullptr, edi)));
    }
  }
  g.E(add(gc, edi, g.V(int32_t(4 * g.bpp))));
}

// Single pixels while ebx counts some: stores, then ebx - 1.
void SingleLoop(Gen &g, OgCode *done) {
  GlContext *gc = g.gc;
  OgCode *again = near_label(gc);
  g.E(test(gc, ebx, ebx));
  g.E(je(gc, done));
  g.Mark(again);
  StorePixel(g);
  g.E(dec(gc, ebx));
  g.E(jne(gc, again));
}

}  // namespace

// Entry: ebx = the span's pixel count (positive).
void flatspan(Gen &g) {
  GlContext *gc = g.gc;
  if (g.bpp != 1 && g.bpp != 2 && g.bpp != 4) {
    og_fail(gc, "4 == fbsize");
    return;
  }
  DeclareSetupWords(g);
  const int32_t align = g.bpp == 1 ? 4 : 8;
  OgCode *forward = near_label(gc), *head = near_label(gc), *aligned = near_label(gc),
         *group = near_label(gc), *tail = near_label(gc), *done = label(gc);

  LoadPattern(g);
  g.E(mov(gc, edi, g.F(offsetof(FrSpan, pixelEdge))));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, dpixeldx))));
  g.E(test(gc, ecx, ecx));
  g.E(jg(gc, forward));
  // Right to left: from the lowest address, edi - (count - 1) x bytes.
  g.cb = scaleby(gc, g.cb, eax, ebx, g.bpp);
  g.E(sub(gc, edi, eax));
  g.E(add(gc, edi, g.V(int32_t(g.bpp))));
  g.Mark(forward);

  g.Mark(head);
  g.E(test(gc, edi, g.V(align - 1)));
  g.E(je(gc, aligned));
  StorePixel(g);
  g.E(dec(gc, ebx));
  g.E(jne(gc, head));
  g.E(jmp(gc, done));

  g.Mark(aligned);
  g.E(cmp(gc, ebx, g.V(4)));
  g.E(jl(gc, tail));
  g.Mark(group);
  StoreGroup(g);
  g.E(sub(gc, ebx, g.V(4)));
  g.E(cmp(gc, ebx, g.V(4)));
  g.E(jge(gc, group));
  g.Mark(tail);
  SingleLoop(g, done);

  g.Mark(done);
  if (g.bpp != 1) g.E(fstp(gc, st0));
}

}  // namespace og_raster
