// The raster routine's frame and edge walk: the flags guard, the locals,
// the halves, the scan lines and the edge steps whose carry picks one of
// two precomputed steps for every walked quantity.
#include <initializer_list>

#include "codegen/og_ras_walk.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"

namespace og_raster {

// edx = carry (0 or 1) of one edge: e = err + step, err = e & 0x7FFFFFFF.
void Carry(Gen &g, size_t err, size_t step) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(err)));
  g.E(add(gc, eax, g.F(step)));
  g.E(mov(gc, edx, eax));
  g.E(and_(gc, eax, g.V(0x7FFFFFFF)));
  g.E(shr(gc, edx, g.V(31)));
  g.E(mov(gc, g.F(err), eax));
}

// Edge B takes the lower half's values; the rows of the lower half follow.
void NextHalf(Gen &g) {
  GlContext *gc = g.gc;
  const auto copy = [&](size_t to, size_t from) { g.cb = memov(gc, g.cb, g.F(to), g.F(from)); };
  copy(offsetof(FrSpan, iyTop), offsetof(FrSpan, iyMiddle));
  copy(offsetof(FrSpan, iyMiddle), offsetof(FrSpan, iyBottom));
  copy(offsetof(FrSpan, ixShort), offsetof(FrSpan, ixLower));
  copy(offsetof(FrSpan, dxShort), offsetof(FrSpan, dxLower));
  copy(offsetof(FrSpan, dxShortCarry), offsetof(FrSpan, dxLowerCarry));
  copy(offsetof(FrSpan, fracShort), offsetof(FrSpan, fracLower));
  copy(offsetof(FrSpan, dfracShort), offsetof(FrSpan, dfracLower));
}

namespace {

// An integer block's edge value takes its row step, chosen by edx.
void StepEdge(Gen &g, size_t block) {
  g.cb = dy(g.gc, g.cb, g.F(block + kEdge), g.Pair(block + kDy, edx));
}

void StepFloatEdge(Gen &g, size_t block) {
  GlContext *gc = g.gc;
  g.E(fld(gc, g.F(block + kEdge)));
  g.E(fadd(gc, g.Pair(block + kFDy, edx)));
  g.E(fstp(gc, g.F(block + kEdge)));
}

void EdgeA(Gen &g) {
  Carry(g, offsetof(FrSpan, fracLong), offsetof(FrSpan, dfracLong));
  g.cb = dy(g.gc, g.cb, g.F(offsetof(FrSpan, ixLong)), g.Pair(offsetof(FrSpan, dxLong), edx));
  StepEdge(g, offsetof(FrSpan, pixel));
  if (g.stencil) StepEdge(g, offsetof(FrSpan, sbuf));
  if (g.doubleStore) StepEdge(g, offsetof(FrSpan, pixel2));
  if (g.walkColor) {
    StepEdge(g, offsetof(FrSpan, r));
    if (g.rgba || g.dual) {
      StepEdge(g, offsetof(FrSpan, g));
      StepEdge(g, offsetof(FrSpan, b));
    }
    if (g.walkAlpha) StepEdge(g, offsetof(FrSpan, a));
  }
  if (g.depth) {
    StepEdge(g, offsetof(FrSpan, z));
    StepEdge(g, offsetof(FrSpan, zbuf));
  }
  if (g.perspective) {
    for (size_t b : {offsetof(FrSpan, sf), offsetof(FrSpan, tf), offsetof(FrSpan, qf)})
      StepFloatEdge(g, b);
    if (g.lod) StepFloatEdge(g, offsetof(FrSpan, rho));
  } else if (g.texturing) {
    StepEdge(g, offsetof(FrSpan, s));
    StepEdge(g, offsetof(FrSpan, t));
  }
}

void EdgeB(Gen &g) {
  Carry(g, offsetof(FrSpan, fracShort), offsetof(FrSpan, dfracShort));
  g.cb = dy(g.gc, g.cb, g.F(offsetof(FrSpan, ixShort)), g.Pair(offsetof(FrSpan, dxShort), edx));
}

// The dither row of the flat fill's pixel table for the current row.
void FlatDitherRow(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, y))));
  g.E(and_(gc, eax, g.V(3)));
  g.E(shl(gc, eax, g.V(log2(4 * g.bpp))));
  g.E(lea(gc, eax, mem(gc, g.V(g.ditherPixels), esp, eax, 1)));
  g.E(mov(gc, g.Local(g.ditherRowLocal), eax));
}

}  // namespace

void EmitGuard(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *same = near_label(gc);
  g.E(mov(gc, eax, g.Abs(&gc->polygon.shader.modeFlags)));
  g.E(and_(gc, eax, g.V(int32_t(kKey1Mask))));
  g.E(cmp(gc, eax, g.V(int32_t(g.key1))));
  g.E(je(gc, same));
  g.E(int3(gc));
  g.Mark(same);
}

void AllocateLocals(Gen &g) {
  int32_t at = 0;
  const auto take = [&](int32_t bytes) {
    const int32_t place = at;
    at += bytes;
    return place;
  };
  g.pixelCount = take(4);
  g.pixelsLeft = g.texturing ? take(4) : -1;
  g.rowsLeft = take(4);
  g.ditherColumn = g.dither ? take(4) : -1;
  const bool flatModulate = !g.spanlet && g.texturing && g.env == GL_MODULATE &&
                            !(g.flags & __GL_SHADE_ITERATE_COLOR);
  g.blendRows = flatModulate ? take(12) : -1;
  g.ditherRowLocal = g.flatFill ? take(4) : -1;
  g.ditherPixels = g.flatFill ? take(int32_t(16 * g.bpp)) : -1;
  g.bias = (at + 3) & ~3;
  if (g.bias) g.E(sub(g.gc, esp, g.V(g.bias)));
}

void set_dither(Gen &g, OgCode *x) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, y))));
  g.E(and_(gc, eax, g.V(3)));
  g.cb = scaleby(gc, g.cb, ecx, eax, 4 * FR_DITHER_ROW);
  g.E(mov(gc, eax, x));
  g.E(and_(gc, eax, g.V(3)));
  g.E(lea(gc, ecx, mem(gc, nullptr, ecx, eax, 4)));
  if (g.spanlet)
    g.E(add(gc, ecx, g.F(offsetof(FrSpan, ditherTable))));
  else
    g.E(add(gc, ecx, g.V(int32_t(uintptr_t(__glFRDitherTable.data())))));
  g.E(mov(gc, g.F(offsetof(FrSpan, ditherRow)), ecx));
}

void HalfStart(Gen &g, OgCode *half, OgCode *halfDone) {
  GlContext *gc = g.gc;
  g.Mark(half);
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, iyMiddle))));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, iyTop))));
  g.E(sub(gc, eax, ecx));
  g.E(mov(gc, g.F(offsetof(FrSpan, y)), ecx));
  g.E(test(gc, eax, eax));
  g.E(jle(gc, halfDone));
}

void HalfEnd(Gen &g, OgCode *half, OgCode *halfDone, OgCode *done) {
  GlContext *gc = g.gc;
  g.Mark(halfDone);
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, iyBottom))));
  g.E(cmp(gc, eax, g.F(offsetof(FrSpan, iyMiddle))));
  g.E(je(gc, done));
  NextHalf(g);
  g.E(jmp(gc, half));
}

void EmitWalk(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *half = label(gc), *halfDone = label(gc), *row = label(gc), *edges = label(gc),
         *done = label(gc);
  HalfStart(g, half, halfDone);

  g.Mark(row);
  g.E(mov(gc, g.Local(g.rowsLeft), eax));
  if (g.dither) {
    if (g.flatFill)
      FlatDitherRow(g);
    else
      set_dither(g, g.F(offsetof(FrSpan, ixLong)));
  }
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, ixLong))));
  g.E(mov(gc, ebx, g.F(offsetof(FrSpan, ixShort))));
  g.E(sub(gc, ebx, eax));
  g.E(jle(gc, edges));
  if (g.spanlet)
    EmitChunks(g);
  else if (g.flatFill)
    flatspan(g);
  else
    span(g);

  g.Mark(edges);
  EdgeA(g);
  EdgeB(g);
  if (g.dither || g.spanlet) g.E(add(gc, g.F(offsetof(FrSpan, y)), g.V(1)));
  g.E(mov(gc, eax, g.Local(g.rowsLeft)));
  g.E(dec(gc, eax));
  g.E(jne(gc, row));

  HalfEnd(g, half, halfDone, done);

  g.Mark(done);
  if (g.bias) g.E(add(gc, esp, g.V(g.bias)));
  g.E(mov(gc, eax, g.V(1)));
  g.E(jmpi(gc, g.Abs(&gc->setupContinuation)));
}

}  // namespace og_raster
